#include "mSysTray.h"

#include "cSysTray.h"

namespace velmora {

void mSysTray::Subclass(Hwnd window, cSysTray& control) {
    savedWindowProc_ = shell_.SetWindowProc(
        window, [this](Hwnd w, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
            return TrayWindowProc(w, message, wParam, lParam);
        });
    control_ = &control;
}

void mSysTray::Restore(Hwnd window) { shell_.SetWindowProc(window, savedWindowProc_); }

std::intptr_t mSysTray::TrayWindowProc(Hwnd window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    if (control_ != nullptr) {
        if (message == kTrayCallbackMessage) {
            control_->DispatchTrayMessage(static_cast<std::uintptr_t>(lParam), wParam);
        } else if (message == shell_.TaskbarCreatedMessage()) {
            control_->ShellRestarted();
        }
    }
    return savedWindowProc_ ? savedWindowProc_(window, message, wParam, lParam) : 0;
}

}  // namespace velmora
