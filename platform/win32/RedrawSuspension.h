#pragma once
// Turns a window's drawing off for a batch of changes; when the batch ends, drawing comes back
// on and the window is repainted whole. A list view redraws and lays itself out again after
// every inserted row while drawing is on, which makes a rebuild of hundreds of rows take
// seconds; suspended, the same rebuild takes milliseconds.

#include "WindowsApi.h"

namespace velmora::win32 {

class RedrawSuspension {
public:
    explicit RedrawSuspension(HWND window) : window_(window) {
        SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawSuspension() {
        SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window_, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    RedrawSuspension(const RedrawSuspension&) = delete;
    RedrawSuspension& operator=(const RedrawSuspension&) = delete;

    HWND Window() const { return window_; }

private:
    HWND window_;
};

}  // namespace velmora::win32
