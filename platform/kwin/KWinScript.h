#pragma once
// A script run in KWin over D-Bus, for what its window-management protocol cannot ask for.
// KWin reuses script ids, so one script is loaded at a time and unloaded before the next.

#include <string>

namespace velmora::kwin {

class KWinScript {
public:
    // Loads `source` (JavaScript) into KWin and starts it; KWin runs it soon after, not
    // necessarily before this returns. Throws RuntimeError when KWin is not on the session
    // bus (it is never started for this) or refuses the script.
    explicit KWinScript(const std::string& source);
    // Unloads the script: none of the program's is ever left in KWin.
    ~KWinScript();
    KWinScript(const KWinScript&) = delete;
    KWinScript& operator=(const KWinScript&) = delete;

private:
    std::string path_;  // the script's file, removed with the script
};

}  // namespace velmora::kwin
