#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>
#include <cmath>
#include <limits>

#include "CheckList.h"
#include "FormControls.h"
#include "OptionButton.h"

namespace velmora::qt {

namespace {

constexpr double kTwipsPerPixelAt96Dpi = 15.0;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont FontOf(const FontSpec& entry) {
    QFont font(Q(entry.face));
    font.setPointSizeF(entry.points);
    font.setBold(entry.bold);
    return font;
}

QTreeWidget* MakeList(QWidget* parent, const ControlSpec& entry) {
    auto* list = new CheckList(parent);
    list->setColumnCount(0);
    list->setRootIsDecorated(false);
    list->setSortingEnabled(false);
    list->setUniformRowHeights(true);
    list->setToolTip(Q(entry.tooltip));
    return list;
}

QRadioButton* MakeOption(QWidget* parent, const ControlSpec& entry, ControlId id,
                         FormEvents& events) {
    auto* option = new OptionButton(Q(entry.caption), parent);
    option->setChecked(entry.selected);
    QObject::connect(option, &QRadioButton::clicked, option, [id, &events] { events.Click(id); });
    return option;
}

QWidget* MakeWidget(QWidget* parent, const ControlSpec& entry, ControlId id, FormEvents& events) {
    switch (entry.kind) {
        case ControlKind::ListView: return MakeList(parent, entry);
        case ControlKind::PushButton: {
            auto* button = new QPushButton(Q(entry.caption), parent);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, button,
                             [id, &events] { events.Click(id); });
            return button;
        }
        case ControlKind::Frame: return new QGroupBox(Q(entry.caption), parent);
        case ControlKind::OptionButton: return MakeOption(parent, entry, id, events);
        case ControlKind::TextBox: {
            auto* text = new QLineEdit(Q(entry.caption), parent);
            // The default limit (32,767 characters) would cut a longer stored text, and the
            // program would then save the cut text as if the user had typed it.
            text->setMaxLength(std::numeric_limits<int>::max());
            QObject::connect(text, &QLineEdit::textEdited, text,
                             [id, &events] { events.Change(id); });
            return text;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(Q(entry.caption), parent);
            QObject::connect(box, &QCheckBox::clicked, box, [id, &events] { events.Click(id); });
            return box;
        }
        case ControlKind::Label: return new QLabel(Q(entry.caption), parent);
        default: return nullptr;
    }
}

// One control of the design: Qt objects owned by the form, or by the frame or menu it lies in.
FormControl MakeControl(QWidget& form, QWidget& parent, const FormSpec& design, ControlId id,
                        FormEvents& events, double scale) {
    const ControlSpec& entry = design.controls[id];
    FormControl control;
    control.kind = entry.kind;
    if (entry.kind == ControlKind::Timer) {
        control.timer = new QTimer(&form);
        // Armed for the moment something is due: a coarse timer could go off before it.
        control.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(control.timer, &QTimer::timeout, &form,
                         [id, &events] { events.Timer(id); });
    } else if (entry.kind == ControlKind::Menu) {
        control.widget = new QMenu(Q(entry.caption), &form);
    } else if (entry.kind == ControlKind::MenuItem) {
        auto* menu = qobject_cast<QMenu*>(&parent);
        control.action =
            menu ? menu->addAction(Q(entry.caption)) : new QAction(Q(entry.caption), &form);
        QObject::connect(control.action, &QAction::triggered, &form,
                         [id, &events] { events.Click(id); });
    } else if (QWidget* widget = MakeWidget(&parent, entry, id, events)) {
        control.widget = widget;
        if (!entry.accessibleName.empty()) widget->setAccessibleName(Q(entry.accessibleName));
        widget->setFont(FontOf(entry.font.face.empty() ? design.font : entry.font));
        widget->setGeometry(
            TwipsToPixels(entry.rect.left, scale), TwipsToPixels(entry.rect.top, scale),
            TwipsToPixels(entry.rect.width, scale), TwipsToPixels(entry.rect.height, scale));
        // Controls later in the table lie over earlier ones, as the text box over its option's
        // caption blanks.
        widget->raise();
    }
    return control;
}

}  // namespace

double PixelsPerTwip() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi / 96.0 / kTwipsPerPixelAt96Dpi;
}

int TwipsToPixels(int twips, double pixelsPerTwip) {
    return static_cast<int>(std::lround(twips * pixelsPerTwip));
}

std::unique_ptr<QWidget> BuildForm(const FormSpec& design, FormEvents& events,
                                   std::vector<FormControl>& controls) {
    // A main window, which assistive technology presents as the application's frame.
    auto form = std::make_unique<QMainWindow>(
        nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                     Qt::WindowCloseButtonHint);
    const double scale = PixelsPerTwip();
    form->setWindowTitle(Q(design.caption));
    form->setFont(FontOf(design.font));
    form->setFixedSize(TwipsToPixels(design.clientWidth, scale),
                       TwipsToPixels(design.clientHeight, scale));

    controls.assign(design.controls.size(), {});
    for (ControlId id = 0; id < design.controls.size(); ++id) {
        const ControlSpec& entry = design.controls[id];
        QWidget* parent = entry.parent == kNoParent ? nullptr : controls[entry.parent].widget;
        controls[id] = MakeControl(*form, parent ? *parent : *form, design, id, events, scale);
    }
    return form;
}

}  // namespace velmora::qt
