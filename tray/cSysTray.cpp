#include "cSysTray.h"

#include <algorithm>
#include <limits>

#include "app/Main.h"
#include "mSysTray.h"

namespace velmora {

void CopyField(char* field, std::size_t size, std::string_view text) {
    std::size_t length = std::min(text.size(), size - 1);
    // Never end inside a UTF-8 sequence: back off over continuation bytes.
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    std::copy_n(text.data(), length, field);
    std::fill(field + length, field + size, '\0');
}

cSysTray::cSysTray(Platform& platform, mSysTray& module, TrayEvents& host)
    : shell_(platform.shell),
      runtime_(platform.runtime),
      module_(module),
      host_(host),
      controlWindow_(platform.shell.TrayWindow()),
      icon_(platform.shell.TrayIconPicture()) {}

cSysTray::~cSysTray() {
    if (inTray_) SetInTray(false);
}

NotifyIconRecord cSysTray::Record(std::uint32_t flags) const {
    NotifyIconRecord record;
    record.hWnd = controlWindow_;
    record.uID = iconId_;
    record.uFlags = flags;
    return record;
}

void cSysTray::SetTrayIcon(Picture icon) {
    if (icon == 0) return;
    if (iconAdded_) {
        NotifyIconRecord record = Record(kNifIcon);
        record.hIcon = icon;
        shell_.NotifyIcon(kNimModify, record);
    }
    icon_ = icon;
}

void cSysTray::SetTrayTip(std::string_view tip) {
    if (iconAdded_) {
        NotifyIconRecord record = Record(kNifTip);
        CopyField(record.szTip, tip);
        shell_.NotifyIcon(kNimModify, record);
    }
    tip_ = tip;
}

void cSysTray::SetInTray(bool show) {
    if (show == inTray_) return;
    if (show) {
        module_.Subclass(controlWindow_, *this);
        AddTrayIcon(controlWindow_, iconId_, tip_, icon_);
        iconAdded_ = true;
    } else if (iconAdded_) {
        DeleteTrayIcon(controlWindow_, iconId_);
        module_.Restore(controlWindow_);
        iconAdded_ = false;
    }
    inTray_ = show;
}

void cSysTray::AddTrayIcon(Hwnd window, std::uint32_t id, std::string_view tip, Picture icon) {
    NotifyIconRecord record;
    record.hWnd = window;
    record.uID = id;
    if (icon != 0) {
        record.hIcon = icon;
        record.uFlags |= kNifIcon;
    }
    if (!tip.empty()) {
        CopyField(record.szTip, tip);
        record.uFlags |= kNifTip;
    }
    record.uCallbackMessage = kTrayCallbackMessage;
    record.uFlags |= kNifMessage;
    iconShown_ = shell_.NotifyIcon(kNimAdd, record);
    tip_ = tip;
    icon_ = icon;
}

void cSysTray::DeleteTrayIcon(Hwnd window, std::uint32_t id) {
    NotifyIconRecord record;
    record.hWnd = window;
    record.uID = id;
    shell_.NotifyIcon(kNimDelete, record);
    iconShown_ = false;
}

// A new notification area knows nothing of the icon: add it again, so that a window hidden in
// the tray stays reachable.
void cSysTray::ShellRestarted() {
    if (iconAdded_) AddTrayIcon(controlWindow_, iconId_, tip_, icon_);
}

void cSysTray::DispatchTrayMessage(std::uintptr_t notification, std::uintptr_t id) {
    const auto icon = static_cast<std::int32_t>(id);
    switch (notification) {
        case kWmMouseMove: host_.TrayMouseMove(icon); break;
        case kWmLButtonDown: host_.TrayMouseDown(1, icon); break;
        case kWmLButtonUp: host_.TrayMouseUp(1, icon); break;
        case kWmLButtonDblClk: host_.TrayMouseDblClick(1, icon); break;
        case kWmRButtonDown: host_.TrayMouseDown(2, icon); break;
        case kWmRButtonUp: host_.TrayMouseUp(2, icon); break;
        case kWmRButtonDblClk: host_.TrayMouseDblClick(2, icon); break;
        case kNinBalloonHide:
        case kNinBalloonTimeout:
        case kNinBalloonUserClick: balloonVisible_ = false; break;
        default: break;
    }
}

void cSysTray::ShowBalloon(std::string_view tip, std::string_view title, std::int32_t showTimer,
                           bool showOnce) {
    if (showOnce && onceBalloonCount_ >= 1) return;
    if (showTimer > std::numeric_limits<std::int32_t>::max() / 1000) throw RuntimeError::Overflow();
    NotifyIconRecord record = Record(kNifInfo);
    CopyField(record.szInfoTitle, title);
    CopyField(record.szInfo, tip);
    record.uTimeout = showTimer > 0 ? static_cast<std::uint32_t>(showTimer) * 1000 : 0;
    shell_.NotifyIcon(kNimModify, record);
    balloonVisible_ = true;
    if (showOnce) ++onceBalloonCount_;
    if (showTimer <= 0) return;

    // Until the shell says the balloon is gone, or the time is up.
    WaitSecondsUnless(runtime_, showTimer, [this] { return !balloonVisible_; });
    if (balloonVisible_) shell_.NotifyIcon(kNimModify, Record(kNifInfo));
}

}  // namespace velmora
