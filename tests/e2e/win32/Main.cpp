// The end-to-end driver: runs each scenario against its own copy of the program and ends with
// one line that counts the checks.

#include <objbase.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "Driver.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: velmora_e2e <path of velmora.exe> [--measure]\n"
                             "       velmora_e2e --installed <version> <path of the setup exe>\n");
        return 2;
    }
    if (std::wstring(argv[1]) == L"--installed" && argc == 4) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Checks check;
        try {
            RunInstalled(check, argv[2], argv[3]);
        } catch (const std::exception& error) {
            check(false, error.what());
        }
        check.Summary(sizeof(void*) == 8 ? "win32 installed x86_64" : "win32 installed i686");
        return check.Failed() == 0 ? 0 : 1;
    }
    if (argc > 2 && std::wstring(argv[2]) == L"--measure") {
        Measure(argv[1]);
        return 0;
    }
    ForgetSettings();
    Checks check;
    for (const auto scenario : {RunListing, RunAccessibility, RunCommands, RunRefreshAndPriority,
                                RunTray, RunSkin, RunFaults}) {
        try {
            scenario(check, argv[1]);
        } catch (const std::exception& error) {
            check(false, error.what());
        }
    }
    check.Summary(sizeof(void*) == 8 ? "win32 e2e x86_64" : "win32 e2e i686");
    return check.Failed() == 0 ? 0 : 1;
}
