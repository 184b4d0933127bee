// Velmora Suite on Windows: the core on user32, comctl32, shell32 and the registry.

#include "WindowsApi.h"
#include <commctrl.h>

#include "MessagePump.h"
#include "Pictures.h"
#include "Win32Keyboard.h"
#include "Win32Runtime.h"
#include "Win32Shell.h"
#include "Win32Widgets.h"
#include "Win32WindowSystem.h"
#include "app/Program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    using namespace velmora;
    win32::MessagePump pump;
    win32::Pictures pictures;
    win32::Win32Widgets widgets(pump, pictures);
    win32::Win32Runtime runtime(pump, pictures, widgets);
    win32::Win32WindowSystem windows;
    win32::Win32Keyboard keyboard;
    win32::Win32Shell shell(pictures);
    Platform platform{windows, keyboard, runtime, widgets, shell};
    Program program(platform);
    program.Start();
    return pump.Run();
}
