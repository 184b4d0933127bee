#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>

#include <cmath>

#include "FormControls.h"

namespace velmora::x11 {

namespace {

constexpr double kTwipsPerPixelAt96Dpi = 15.0;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont FontOf(const FontSpec& spec) {
    QFont font(Q(spec.face));
    font.setPointSizeF(spec.points);
    font.setBold(spec.bold);
    return font;
}

QTreeWidget* MakeList(QWidget* parent, const ControlSpec& spec) {
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(0);
    list->setRootIsDecorated(false);
    list->setSortingEnabled(false);
    list->setUniformRowHeights(true);
    list->setToolTip(Q(spec.tooltip));
    return list;
}

// An option reports the user's click and leaves selecting to the core, so the state Qt toggled
// on its own is put back first.
QRadioButton* MakeOption(QWidget* parent, const ControlSpec& spec, ControlId id,
                         FormEvents& events) {
    auto* option = new QRadioButton(Q(spec.caption), parent);
    option->setAutoExclusive(false);
    option->setChecked(spec.selected);
    QObject::connect(option, &QRadioButton::clicked, option, [option, id, &events](bool checked) {
        option->setChecked(!checked);
        events.Click(id);
    });
    return option;
}

QWidget* MakeWidget(QWidget* parent, const ControlSpec& spec, ControlId id, FormEvents& events) {
    switch (spec.kind) {
        case ControlKind::ListView:
            return MakeList(parent, spec);
        case ControlKind::PushButton: {
            auto* button = new QPushButton(Q(spec.caption), parent);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, button, [id, &events] { events.Click(id); });
            return button;
        }
        case ControlKind::Frame:
            return new QGroupBox(Q(spec.caption), parent);
        case ControlKind::OptionButton:
            return MakeOption(parent, spec, id, events);
        case ControlKind::TextBox: {
            auto* text = new QLineEdit(Q(spec.caption), parent);
            QObject::connect(text, &QLineEdit::textEdited, text, [id, &events] { events.Change(id); });
            return text;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(Q(spec.caption), parent);
            QObject::connect(box, &QCheckBox::clicked, box, [id, &events] { events.Click(id); });
            return box;
        }
        case ControlKind::Label:
            return new QLabel(Q(spec.caption), parent);
        default:
            return nullptr;
    }
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
    auto form = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::WindowTitleHint |
                                                       Qt::WindowSystemMenuHint |
                                                       Qt::WindowMinimizeButtonHint |
                                                       Qt::WindowCloseButtonHint);
    const double scale = PixelsPerTwip();
    form->setWindowTitle(Q(design.caption));
    form->setFont(FontOf(design.font));
    form->setFixedSize(TwipsToPixels(design.clientWidth, scale),
                       TwipsToPixels(design.clientHeight, scale));

    controls.assign(design.controls.size(), {});
    for (ControlId id = 0; id < design.controls.size(); ++id) {
        const ControlSpec& spec = design.controls[id];
        FormControl& control = controls[id];
        control.kind = spec.kind;
        QWidget* parent = spec.parent == kNoParent ? form.get() : controls[spec.parent].widget;
        if (spec.kind == ControlKind::Timer) {
            control.timer = new QTimer(form.get());
            QObject::connect(control.timer, &QTimer::timeout, form.get(), [id, &events] { events.Timer(id); });
        } else if (spec.kind == ControlKind::Menu) {
            control.widget = new QMenu(Q(spec.caption), form.get());
        } else if (spec.kind == ControlKind::MenuItem) {
            auto* menu = qobject_cast<QMenu*>(parent);
            control.action = menu ? menu->addAction(Q(spec.caption)) : new QAction(Q(spec.caption), form.get());
            QObject::connect(control.action, &QAction::triggered, form.get(), [id, &events] { events.Click(id); });
        } else if (QWidget* widget = MakeWidget(parent ? parent : form.get(), spec, id, events)) {
            control.widget = widget;
            widget->setFont(FontOf(spec.font.face.empty() ? design.font : spec.font));
            widget->setGeometry(TwipsToPixels(spec.rect.left, scale),
                                TwipsToPixels(spec.rect.top, scale),
                                TwipsToPixels(spec.rect.width, scale),
                                TwipsToPixels(spec.rect.height, scale));
            // Controls later in the table lie over earlier ones, as the text box over its
            // option's caption blanks.
            widget->raise();
        }
    }
    return form;
}

}  // namespace velmora::x11
