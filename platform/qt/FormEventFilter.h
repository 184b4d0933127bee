#pragma once
// Turns Qt events of the form and its controls into the core's form events: keys (before the
// focused control sees them), pointer entry, focus changes, resizing and the window's close.

#include <QObject>
#include <unordered_map>

#include "platform/Widgets.h"

class QWidget;

namespace velmora::qt {

class FormEventFilter : public QObject {
public:
    FormEventFilter(QWidget& form, FormEvents& events) : form_(form), events_(events) {}

    void Watch(QObject* control, ControlId id) { controls_[control] = id; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& form_;
    FormEvents& events_;
    std::unordered_map<QObject*, ControlId> controls_;
};

}  // namespace velmora::qt
