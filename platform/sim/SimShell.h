#pragma once
// A model notification area: it records every notify-icon request, holds the icons it took,
// and delivers the icon's callbacks to the tray window's current procedure.

#include <map>
#include <vector>

#include "Recorder.h"
#include "platform/Shell.h"

namespace velmora::sim {

struct NotifyRequest {
    unsigned message;
    NotifyIconRecord record;
};

class SimShell : public Shell {
public:
    explicit SimShell(Recorder& recorder) : recorder_(recorder) {}

    // False: there is no notification area, and every request fails.
    bool available = true;
    // Messages that reached the tray window's own default procedure.
    int reachedDefault = 0;
    std::vector<NotifyRequest> requests;
    // Icons in the notification area, by (window, id).
    std::map<std::pair<Hwnd, std::uint32_t>, NotifyIconRecord> icons;

    // The user does something to the icon: the shell sends the callback message.
    std::intptr_t Callback(std::uintptr_t notification, std::uint32_t id = 0);
    // The shell restarts: all icons are gone and every window hears TaskbarCreated.
    void Restart();
    // The tray window's procedure is its own default one.
    bool HasDefaultProcedure() const;

    bool NotifyIcon(unsigned message, const NotifyIconRecord& record) override;
    Hwnd TrayWindow() override { return kTrayWindow; }
    WindowProc SetWindowProc(Hwnd window, WindowProc procedure) override;
    unsigned TaskbarCreatedMessage() override { return kTaskbarCreated; }
    Picture TrayIconPicture() override { return trayIcon; }

    static constexpr Hwnd kTrayWindow = 0x00FF0010;
    static constexpr unsigned kTaskbarCreated = 0xC0F0;
    static constexpr Picture kTrayIcon = 0x7E;
    Picture trayIcon = kTrayIcon;  // 0: the control has no image of its own

private:
    std::intptr_t Deliver(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    Recorder& recorder_;
    // The default procedure answers 0 to everything and counts what reaches it.
    WindowProc defaultProc_ = [this](Hwnd, unsigned, std::uintptr_t, std::intptr_t) {
        ++reachedDefault;
        return std::intptr_t{0};
    };
    WindowProc procedure_ = defaultProc_;
    bool procedureIsDefault_ = true;
};

}  // namespace velmora::sim
