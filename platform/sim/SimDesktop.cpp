#include "SimDesktop.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velmora::sim {

Hwnd SimDesktop::Create(std::string title, std::uint32_t style, ShowState state) {
    const Hwnd handle = nextHandle_;
    nextHandle_ += 4;
    // Ordinary windows open below every topmost one.
    const auto firstOrdinary =
        std::find_if(windows_.begin(), windows_.end(), [](const SimWindow& w) { return !w.topmost; });
    windows_.insert(firstOrdinary, SimWindow{handle, std::move(title), style, state});
    indexValid_ = false;
    if (state != ShowState::Hidden) foreground_ = handle;
    return handle;
}

void SimDesktop::Destroy(Hwnd window) {
    std::erase_if(windows_, [window](const SimWindow& w) { return w.handle == window; });
    indexValid_ = false;
    if (foreground_ == window) foreground_ = windows_.empty() ? 0 : windows_.front().handle;
}

void SimDesktop::SetTitle(Hwnd window, std::string title) {
    if (SimWindow* w = Find(window)) w->title = std::move(title);
}

void SimDesktop::SetState(Hwnd window, ShowState state) {
    if (SimWindow* w = Find(window)) w->state = state;
}

void SimDesktop::SetCloseReaction(Hwnd window, CloseReaction reaction) {
    if (SimWindow* w = Find(window)) w->onClose = reaction;
}

void SimDesktop::MarkProgramOwn(Hwnd window) {
    if (SimWindow* w = Find(window)) w->programOwn = true;
}

void SimDesktop::SetAnswering(Hwnd window, bool answers) {
    if (SimWindow* w = Find(window)) w->answers = answers;
}

void SimDesktop::SetTakesFocus(Hwnd window, bool takesFocus) {
    if (SimWindow* w = Find(window)) w->takesFocus = takesFocus;
}

void SimDesktop::Activate(Hwnd window) {
    if (!Exists(window)) return;
    Raise(window);
    foreground_ = window;
}

void SimDesktop::Raise(Hwnd window) {
    const auto position = Position(window);
    if (!position) return;
    SimWindow moved = windows_[*position];
    windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(*position));
    const auto top = moved.topmost ? windows_.begin()
                                   : std::find_if(windows_.begin(), windows_.end(),
                                                  [](const SimWindow& w) { return !w.topmost; });
    windows_.insert(top, std::move(moved));
    indexValid_ = false;
}

void SimDesktop::PressAltF4() {
    SimWindow* target = Find(foreground_);
    if (target == nullptr) return;
    altF4Received.push_back(target->title);
    React(*target);
}

void SimDesktop::RequestClose(Hwnd window) {
    recorder_.Call("RequestClose", HexHandle(window));
    SimWindow* target = Find(window);
    if (target == nullptr || target->programOwn) throw RuntimeError::InvalidProcedureCall();
    closeRequests.push_back(target->title);
    React(*target);
}

void SimDesktop::React(SimWindow& target) {
    switch (target.onClose) {
        case CloseReaction::Close:
            Destroy(target.handle);
            break;
        case CloseReaction::AskToSave:
            Activate(Create(target.title + " - Save changes?"));
            break;
        case CloseReaction::Refuse:
            break;
    }
}

const SimWindow& SimDesktop::Window(Hwnd window) const {
    const SimWindow* w = Find(window);
    if (w == nullptr) throw std::out_of_range("no such sim window " + HexHandle(window));
    return *w;
}

std::vector<Hwnd> SimDesktop::ZOrder() const {
    std::vector<Hwnd> order;
    order.reserve(windows_.size());
    for (const SimWindow& w : windows_) order.push_back(w.handle);
    return order;
}

Hwnd SimDesktop::GetWindow(Hwnd window, unsigned command) {
    recorder_.Call("GetWindow", [&] { return HexHandle(window) + "," + std::to_string(command); });
    if (beforeGetWindow) beforeGetWindow(window, command);
    // The top of the z-order whichever window it is asked from, as the Linux backends answer.
    if (command == kGwHwndFirst) return windows_.empty() ? 0 : windows_.front().handle;
    const auto position = Position(window);
    if (!position) return 0;
    if (command == kGwHwndNext && *position + 1 < windows_.size()) {
        return windows_[*position + 1].handle;
    }
    return 0;
}

std::uint32_t SimDesktop::WindowStyle(Hwnd window) {
    recorder_.Call("WindowStyle", [&] { return HexHandle(window); });
    const SimWindow* w = Find(window);
    if (w == nullptr) return 0;
    std::uint32_t style = w->style;
    if (w->state != ShowState::Hidden) style |= kWsVisible;
    if (w->state == ShowState::Minimized) style |= kWsMinimize;
    if (w->state == ShowState::Maximized) style |= kWsMaximize;
    return style;
}

std::string SimDesktop::WindowTitle(Hwnd window) {
    recorder_.Call("WindowTitle", [&] { return HexHandle(window); });
    const SimWindow* w = Find(window);
    return w == nullptr ? std::string() : w->title;
}

void SimDesktop::ShowWindow(Hwnd window, int command) {
    recorder_.Call("ShowWindow", HexHandle(window) + "," + std::to_string(command));
    SimWindow* w = Find(window);
    if (w == nullptr || !w->answers) return;
    switch (command) {
        case kSwHide:
            w->state = ShowState::Hidden;
            break;
        case kSwMinimize:
            w->state = ShowState::Minimized;
            break;
        case kSwShowMaximized:
            w->state = ShowState::Maximized;
            Activate(window);
            break;
        case kSwRestore:
            w->state = ShowState::Normal;
            Activate(window);
            break;
        default:
            break;
    }
}

void SimDesktop::ActivateWindow(std::string_view title, Hwnd preferred) {
    recorder_.Call("ActivateWindow", std::string(title) + "," + HexHandle(preferred));
    const auto matches = [title](const SimWindow& w) { return !w.programOwn && w.title == title; };
    const SimWindow* target = Find(preferred);
    if (target == nullptr || !matches(*target)) {
        const auto found = std::find_if(windows_.begin(), windows_.end(), matches);
        target = found == windows_.end() ? nullptr : &*found;
    }
    if (target == nullptr || !target->answers) {
        throw RuntimeError(5, "Invalid procedure call or argument");
    }
    const Hwnd chosen = target->handle;
    if (onActivateWindow) onActivateWindow(chosen);
    target = Find(chosen);
    if (target == nullptr || refuseActivation) return;
    if (target->takesFocus) {
        Activate(target->handle);
    } else {
        Raise(target->handle);
    }
}

Hwnd SimDesktop::GetForegroundWindow() {
    recorder_.Call("GetForegroundWindow");
    return foreground_;
}

void SimDesktop::SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) {
    recorder_.Call("SetWindowPos", HexHandle(window) + "," + std::to_string(static_cast<int>(insertAfter)) +
                                       "," + HexHandle(flags));
    const auto position = Position(window);
    if (!position) return;
    SimWindow moved = windows_[*position];
    windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(*position));
    moved.topmost = insertAfter == kHwndTopmost;
    if (moved.topmost) {
        windows_.insert(windows_.begin(), std::move(moved));
    } else {
        windows_.push_back(std::move(moved));
    }
    indexValid_ = false;
}

// Looks windows up through an index of their positions, rebuilt after the z-order changed, so
// that a walk over thousands of windows costs the sim little.
const SimWindow* SimDesktop::Find(Hwnd window) const {
    if (!indexValid_) {
        positions_.clear();
        for (std::size_t i = 0; i < windows_.size(); ++i) positions_[windows_[i].handle] = i;
        indexValid_ = true;
    }
    const auto it = positions_.find(window);
    return it == positions_.end() ? nullptr : &windows_[it->second];
}

SimWindow* SimDesktop::Find(Hwnd window) {
    return const_cast<SimWindow*>(std::as_const(*this).Find(window));
}

std::optional<std::size_t> SimDesktop::Position(Hwnd window) const {
    const SimWindow* w = Find(window);
    if (w == nullptr) return std::nullopt;
    return static_cast<std::size_t>(w - windows_.data());
}

}  // namespace velmora::sim
