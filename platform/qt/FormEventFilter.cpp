#include "FormEventFilter.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "QtVirtualKeys.h"

namespace velmora::qt {

namespace {

// Whether the focus moved between the form's controls, or into them by a click or a key: the
// window's (de)activation and a popup (the field's context menu) move no focus of the form's.
bool FormsOwnMove(const QEvent& event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

bool FormEventFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // A key reaches the form's native window once, before Qt hands it to the focused widget
    // (and on up its parents, where it would be seen again).
    if (type == QEvent::KeyPress && watched == form_.windowHandle()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const int virtualKey = VirtualKeyOfQtKey(key->key())) {
            events_.KeyDown(virtualKey, ShiftBits(key->modifiers()));
        }
        return false;
    }
    if (watched == &form_) {
        switch (type) {
            case QEvent::Close:
                event->ignore();
                events_.QueryUnload();
                return true;
            case QEvent::Resize:
            case QEvent::WindowStateChange: events_.Resize(); break;
            case QEvent::Enter:
            case QEvent::MouseMove: events_.MouseMove(kNoParent); break;
            default: break;
        }
        return false;
    }
    const auto control = controls_.find(watched);
    if (control == controls_.end()) return false;
    switch (type) {
        case QEvent::Enter:
        case QEvent::MouseMove: events_.MouseMove(control->second); break;
        case QEvent::FocusIn:
            if (FormsOwnMove(*event)) events_.GotFocus(control->second);
            break;
        case QEvent::FocusOut:
            if (FormsOwnMove(*event)) events_.LostFocus(control->second);
            break;
        default: break;
    }
    return false;
}

}  // namespace velmora::qt
