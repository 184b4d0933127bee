#pragma once
// The driver's side of the X server: target windows it owns, what the server and the window
// manager say about any window, and real input through XTest.

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

enum class TargetKind {
    Normal,       // titled, decorated, managed
    Override,     // override-redirect: never managed
    Undecorated,  // _MOTIF_WM_HINTS without decorations
    SkipTaskbar,  // _NET_WM_STATE_SKIP_TASKBAR
    Withdrawn,    // created, never mapped
    LegacyTitle,  // titled only by WM_NAME in Latin-1, as older clients do
    AsksFirst,    // answers a close request with a question of its own and stays open
};

struct WmInfo {
    bool exists = false;
    bool viewable = false;
    long wmState = -1;  // WM_STATE: 0 withdrawn, 1 normal, 3 iconic; -1 when unset
    std::vector<std::string> netStates;
};

class XDriver {
public:
    XDriver();
    ~XDriver();
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;

    ::Display* display() const { return display_; }
    // The colour shown at this point of the screen.
    unsigned long PixelAt(int x, int y);

    // A target window of the driver's own; it answers the window manager's close request by
    // going away (AsksFirst: by showing a question). An empty title sets no name at all.
    Window Create(TargetKind kind, const std::string& title);
    // The question an AsksFirst window showed when asked to close, if it did.
    std::optional<Window> Question(Window asker) const;
    void Rename(Window window, const std::string& title);
    void Destroy(Window window);

    // The keysyms of the key presses the driver's windows received, oldest first, since the
    // last call (for windows made with `keys`).
    std::vector<unsigned long> TakeTypedKeysyms();
    void ListenForKeys(Window window);

    // Handles the events of the driver's windows (close requests, keys) for a while.
    void Pump(std::chrono::milliseconds duration);
    // Pumps until `condition` holds or `timeout` passes; returns the last answer.
    bool WaitFor(const std::function<bool()>& condition,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5));

    std::vector<Window> StackingTopFirst();
    std::optional<Window> ActiveWindow();
    WmInfo Info(Window window);
    std::string TextProperty(Window window, const char* name);
    std::optional<long> Cardinal(Window window, const char* name);
    // Windows anywhere in the tree (not only top level) that carry `property`.
    std::vector<Window> WindowsWithProperty(const char* property);
    // The window's parent; 0 when it has none or is gone.
    Window Parent(Window window);
    bool Exists(Window window);

    // Asks the window manager to activate a window, as a pager would.
    void Activate(Window window);
    // Asks the window manager to put a window on another workspace (0 is the first).
    void MoveToDesktop(Window window, int desktop);
    // The window manager's close request (what the title bar's close button does).
    void RequestClose(Window window);
    void Iconify(Window window);

    // Real input: pointer click at a point of `window`, and key chords like "ctrl+shift+h".
    void Click(Window window, int x, int y);
    void Keys(const std::string& chord);

private:
    // An EWMH request about `window`, sent to the root as a pager sends it.
    void AskWindowManager(Window window, const char* request, long argument);
    Atom A(const char* name);
    void AnswerCloseRequest(Window window);
    ::Display* display_;
    std::vector<Window> owned_;
    std::map<Window, std::string> askers_;  // AsksFirst windows and their titles
    std::map<Window, Window> questions_;    // asker -> its question
    std::vector<unsigned long> typed_;
};

}  // namespace e2e
