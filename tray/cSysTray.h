#pragma once
// The tray icon control: owns one notification-area icon with its tip and image, shows
// balloons, and turns the shell's callbacks into mouse events for its host.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velmora {

class mSysTray;

// What the control raises to its host. Button 1 is the left, 2 the right mouse button.
class TrayEvents {
public:
    virtual ~TrayEvents() = default;
    virtual void TrayMouseMove(std::int32_t id) = 0;
    virtual void TrayMouseDown(std::int16_t button, std::int32_t id) = 0;
    virtual void TrayMouseUp(std::int16_t button, std::int32_t id) = 0;
    virtual void TrayMouseDblClick(std::int16_t button, std::int32_t id) = 0;
};

class cSysTray {
public:
    cSysTray(Platform& platform, mSysTray& module, TrayEvents& host);
    ~cSysTray();
    cSysTray(const cSysTray&) = delete;
    cSysTray& operator=(const cSysTray&) = delete;

    Picture TrayIcon() const { return icon_; }
    void SetTrayIcon(Picture icon);
    const std::string& TrayTip() const { return tip_; }
    void SetTrayTip(std::string_view tip);
    bool InTray() const { return inTray_; }
    void SetInTray(bool show);
    // Whether the notification area really holds the icon: the last add succeeded.
    bool IconShown() const { return iconShown_; }

    // Shows a balloon at the icon. With `showTimer` seconds above 0 it returns once the shell
    // reports the balloon gone or that time has passed, running window events meanwhile.
    void ShowBalloon(std::string_view tip, std::string_view title, std::int32_t showTimer,
                     bool showOnce);

    // From the control's window procedure: a callback of the icon, and a restarted shell.
    void DispatchTrayMessage(std::uintptr_t notification, std::uintptr_t id);
    void ShellRestarted();

private:
    void AddTrayIcon(Hwnd window, std::uint32_t id, std::string_view tip, Picture icon);
    void DeleteTrayIcon(Hwnd window, std::uint32_t id);
    NotifyIconRecord Record(std::uint32_t flags) const;

    Shell& shell_;
    Runtime& runtime_;
    mSysTray& module_;
    TrayEvents& host_;
    Hwnd controlWindow_;
    std::uint32_t iconId_ = 0;
    bool inTray_ = false;
    std::string tip_ = "Telnet Server";
    Picture icon_;
    bool iconAdded_ = false;
    bool iconShown_ = false;
    bool balloonVisible_ = false;
    std::int32_t onceBalloonCount_ = 0;
};

// Copies UTF-8 text into a fixed field, NUL-terminated, cut at a character boundary to fit.
template <std::size_t N>
void CopyField(char (&field)[N], std::string_view text);
void CopyField(char* field, std::size_t size, std::string_view text);

template <std::size_t N>
void CopyField(char (&field)[N], std::string_view text) {
    CopyField(field, N, text);
}

}  // namespace velmora
