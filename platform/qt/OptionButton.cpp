#include "OptionButton.h"

#include <QAccessibleWidget>

namespace velmora::qt {

namespace {

// An option as a screen reader or voice control sees it: a radio button, checked as the core
// has chosen, whose action does what a click does (Qt's own would set the state behind the
// core's back).
class AccessibleOption : public QAccessibleWidget {
public:
    explicit AccessibleOption(OptionButton& option)
        : QAccessibleWidget(&option, QAccessible::RadioButton) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return Option().text().remove(QLatin1Char('&'));
        }
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Option().isChecked();
        return state;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) names.prepend(toggleAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name == toggleAction() || name == pressAction()) {
            Option().click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    OptionButton& Option() const { return *static_cast<OptionButton*>(widget()); }
};

QAccessibleInterface* AccessibleOf(const QString&, QObject* object) {
    auto* option = dynamic_cast<OptionButton*>(object);
    // Qt takes the interface over and keeps it while the option lives.
    return option != nullptr ? new AccessibleOption(*option) : nullptr;
}

}  // namespace

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent) {
    [[maybe_unused]] static const bool served =
        (QAccessible::installFactory(AccessibleOf), true);
    // Qt may have made the interface while the base was being built, before this was an
    // option: that one is dropped, and the next query makes the option's own.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(this);
    if (made != nullptr && dynamic_cast<AccessibleOption*>(made) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

}  // namespace velmora::qt
