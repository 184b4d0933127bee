#include "QtFormWidgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTreeWidget>
#include <QWindow>
#include <memory>

#include "CheckAnnouncements.h"
#include "platform/RuntimeError.h"

namespace velmora::qt {

namespace {

constexpr std::uint32_t kSystemColor = 0x80000000U;
constexpr std::uint32_t kButtonFaceIndex = kButtonFace & 0xFF;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor FromColorRef(std::uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

// The controls drawn on the form's own background in the design.
bool HasDesignedBackground(ControlKind kind) {
    return kind == ControlKind::Frame || kind == ControlKind::OptionButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::Label;
}

}  // namespace

QtFormWidgets::~QtFormWidgets() {
    if (filter_) qApp->removeEventFilter(filter_.get());
}

void QtFormWidgets::CreateForm(const FormSpec& design, FormEvents& events) {
    design_ = &design;
    form_ = BuildForm(design, events, controls_);
    filter_ = std::make_unique<FormEventFilter>(*form_, events);
    form_->setMouseTracking(true);
    backColors_.assign(controls_.size(), std::nullopt);
    for (ControlId id = 0; id < controls_.size(); ++id) {
        QWidget* widget = controls_[id].widget;
        if (!widget || controls_[id].kind == ControlKind::Menu) continue;
        widget->setMouseTracking(true);
        filter_->Watch(widget, id);
        if (HasDesignedBackground(controls_[id].kind)) {
            backColors_[id] = design.controls[id].backColor;
            Paint(*widget, design.controls[id].backColor);
        }
        if (auto* list = qobject_cast<QTreeWidget*>(widget)) AnnounceCheckChanges(*list);
    }
    formBackColor_ = design.backColor;
    Paint(*form_, formBackColor_);
    qApp->installEventFilter(filter_.get());
    // The native window exists from here on, so the form has a handle before it is shown.
    form_->winId();
}

void QtFormWidgets::ShowForm() {
    if (!shown_) {
        shown_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            form_->move(area.center() - QPoint(form_->width() / 2, form_->height() / 2));
        }
    }
    form_->show();
    FocusForm();
}

Hwnd QtFormWidgets::FormHandle() {
    // Only on X11 is the form numbered among the other programs' windows. Wayland gives a
    // program no such number (Qt answers 1 for every window there, which could be the id a
    // Wayland backend gives another program's window), so there the form has none.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return 0;
    form_->winId();
    return static_cast<Hwnd>(form_->windowHandle()->winId());
}

void QtFormWidgets::SetFormCaption(std::string_view caption) { form_->setWindowTitle(Q(caption)); }

void QtFormWidgets::SetFormIcon() { form_->setWindowIcon(QIcon(QStringLiteral(":/velmora.png"))); }

int QtFormWidgets::FormWindowState() {
    if (pendingState_) return *pendingState_;
    const Qt::WindowStates state = form_->windowState();
    if (state & Qt::WindowMinimized) return vbMinimized;
    if (state & Qt::WindowMaximized) return vbMaximized;
    return vbNormal;
}

void QtFormWidgets::SetFormWindowState(int state) {
    // Leaving the minimized state maps the native window at once, which a hidden form must not
    // do behind Qt's back: a hidden form takes its state when it is shown again.
    if (!form_->isVisible()) {
        pendingState_ = state;
        return;
    }
    const Qt::WindowState wanted = state == vbMinimized   ? Qt::WindowMinimized
                                   : state == vbMaximized ? Qt::WindowMaximized
                                                          : Qt::WindowNoState;
    form_->setWindowState(wanted);
}

void QtFormWidgets::SetFormVisible(bool visible) {
    if (visible && pendingState_) {
        const int state = *pendingState_;
        pendingState_.reset();
        form_->setVisible(true);
        SetFormWindowState(state);
        return;
    }
    form_->setVisible(visible);
}

void QtFormWidgets::FocusForm() {
    if (form_->windowState() & Qt::WindowMinimized) form_->setWindowState(Qt::WindowNoState);
    form_->raise();
    form_->activateWindow();
    if (bringFormForward_) bringFormForward_();
}

QColor QtFormWidgets::Resolve(std::uint32_t color) const {
    if (!(color & kSystemColor)) return FromColorRef(color);
    if ((color & 0xFF) == kButtonFaceIndex) {
        return palette_ ? FromColorRef(palette_->face)
                        : QApplication::palette().color(QPalette::Button);
    }
    return QApplication::palette().color(QPalette::Window);
}

void QtFormWidgets::Paint(QWidget& widget, std::uint32_t color) {
    QPalette palette = widget.palette();
    // Buttons fill their background with the Button role, other widgets with Window.
    palette.setColor(widget.backgroundRole(), Resolve(color));
    if (palette_) {
        palette.setColor(QPalette::WindowText, FromColorRef(palette_->text));
        palette.setColor(QPalette::Highlight, FromColorRef(palette_->highlight));
    }
    widget.setPalette(palette);
    // Inside a frame a control shows the frame's background, as it does on Windows: the frame
    // draws a panel of its own shade there, which a filled control would cover with a box.
    widget.setAutoFillBackground(qobject_cast<QGroupBox*>(widget.parentWidget()) == nullptr);
}

void QtFormWidgets::SetFormBackColor(std::uint32_t color) {
    formBackColor_ = color;
    Paint(*form_, color);
}

void QtFormWidgets::SetBackColor(ControlId control, std::uint32_t color) {
    backColors_.at(control) = color;
    Paint(Widget(control), color);
}

void QtFormWidgets::ApplyPalette(const Palette& palette) {
    palette_ = palette;
    Paint(*form_, formBackColor_);
    for (ControlId id = 0; id < controls_.size(); ++id) {
        if (backColors_[id]) Paint(*controls_[id].widget, *backColors_[id]);
    }
}

int QtFormWidgets::MousePointer() { return pointer_; }

void QtFormWidgets::SetMousePointer(int pointer) {
    pointer_ = pointer;
    switch (pointer) {
        case vbHourglass: form_->setCursor(Qt::WaitCursor); break;
        case vbCustom: form_->setCursor(pictures_.Cursor(mouseIcon_)); break;
        default: form_->unsetCursor(); break;
    }
}

void QtFormWidgets::SetMouseIcon(Picture picture) {
    mouseIcon_ = picture;
    if (pointer_ == vbCustom) SetMousePointer(vbCustom);
}

QWidget& QtFormWidgets::Widget(ControlId control) {
    if (control >= controls_.size() || !controls_[control].widget) {
        throw RuntimeError::InvalidProcedureCall();
    }
    return *controls_[control].widget;
}

std::string QtFormWidgets::Text(ControlId control) {
    if (control < controls_.size() && controls_[control].action) {
        return controls_[control].action->text().toStdString();
    }
    QWidget& widget = Widget(control);
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text().toStdString();
    if (auto* frame = qobject_cast<QGroupBox*>(&widget)) return frame->title().toStdString();
    if (auto* line = qobject_cast<QLineEdit*>(&widget)) return line->text().toStdString();
    if (auto* menu = qobject_cast<QMenu*>(&widget)) return menu->title().toStdString();
    return widget.property("text").toString().toStdString();
}

void QtFormWidgets::SetText(ControlId control, std::string_view text) {
    if (control < controls_.size() && controls_[control].action) {
        controls_[control].action->setText(Q(text));
        return;
    }
    QWidget& widget = Widget(control);
    if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
        frame->setTitle(Q(text));
    } else if (auto* menu = qobject_cast<QMenu*>(&widget)) {
        menu->setTitle(Q(text));
    } else {
        // setText raises no textEdited, so the core sees no Change.
        widget.setProperty("text", Q(text));
    }
}

bool QtFormWidgets::Value(ControlId control) {
    auto* button = qobject_cast<QAbstractButton*>(&Widget(control));
    return button && button->isChecked();
}

void QtFormWidgets::SetValue(ControlId control, bool selected) {
    auto* button = qobject_cast<QAbstractButton*>(&Widget(control));
    if (!button) return;
    // Qt keeps the selected one of exclusive options selected; the core may clear them all.
    const bool exclusive = button->autoExclusive();
    if (!selected) button->setAutoExclusive(false);
    button->setChecked(selected);
    button->setAutoExclusive(exclusive);
}

void QtFormWidgets::SetEnabled(ControlId control, bool enabled) {
    if (control < controls_.size() && controls_[control].action) {
        controls_[control].action->setEnabled(enabled);
        return;
    }
    Widget(control).setEnabled(enabled);
}

bool QtFormWidgets::Enabled(ControlId control) {
    if (control < controls_.size() && controls_[control].action) {
        return controls_[control].action->isEnabled();
    }
    return Widget(control).isEnabled();
}

void QtFormWidgets::SetFocus(ControlId control) { Widget(control).setFocus(Qt::OtherFocusReason); }

void QtFormWidgets::SetTimerInterval(ControlId timer, int milliseconds) {
    QTimer* qtimer = timer < controls_.size() ? controls_[timer].timer : nullptr;
    if (!qtimer) throw RuntimeError::InvalidProcedureCall();
    if (milliseconds > 0) {
        qtimer->start(milliseconds);
    } else {
        qtimer->stop();
    }
}

QTreeWidget& QtFormWidgets::List(ControlId list) {
    auto* tree = qobject_cast<QTreeWidget*>(&Widget(list));
    if (!tree) throw RuntimeError::InvalidProcedureCall();
    return *tree;
}

QTreeWidgetItem& QtFormWidgets::Row(ControlId list, int row) {
    QTreeWidget& tree = List(list);
    QTreeWidgetItem* item = row >= 1 ? tree.topLevelItem(row - 1) : nullptr;
    if (!item) throw RuntimeError::IndexOutOfBounds();
    return *item;
}

void QtFormWidgets::AddColumn(ControlId list, std::string_view heading) {
    QTreeWidget& tree = List(list);
    const int column = tree.columnCount();
    tree.setColumnCount(column + 1);
    tree.headerItem()->setText(column, Q(heading));
}

void QtFormWidgets::SetColumnWidth(ControlId list, int column, int twips) {
    QTreeWidget& tree = List(list);
    if (column < 1 || column > tree.columnCount()) throw RuntimeError::IndexOutOfBounds();
    tree.setColumnWidth(column - 1, TwipsToPixels(twips, PixelsPerTwip()));
}

void QtFormWidgets::ClearRows(ControlId list) {
    List(list).clear();
}

void QtFormWidgets::AddRow(ControlId list, std::string_view text) {
    // Made whole before it joins the list, so that the list announces no change of a new row.
    auto item = std::make_unique<QTreeWidgetItem>();
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    item->setText(0, Q(text));
    List(list).addTopLevelItem(item.release());
}

int QtFormWidgets::RowCount(ControlId list) { return List(list).topLevelItemCount(); }

std::string QtFormWidgets::RowText(ControlId list, int row) {
    return Row(list, row).text(0).toStdString();
}

bool QtFormWidgets::RowChecked(ControlId list, int row) {
    return Row(list, row).checkState(0) == Qt::Checked;
}

void QtFormWidgets::SetRowChecked(ControlId list, int row, bool checked) {
    Row(list, row).setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

std::string QtFormWidgets::RowSubItem(ControlId list, int row, int subItem) {
    const QTreeWidgetItem& item = Row(list, row);
    if (subItem < 1) throw RuntimeError::IndexOutOfBounds();
    return item.text(subItem).toStdString();
}

void QtFormWidgets::SetRowSubItem(ControlId list, int row, int subItem, std::string_view text) {
    QTreeWidgetItem& item = Row(list, row);
    if (subItem < 1) throw RuntimeError::IndexOutOfBounds();
    item.setText(subItem, Q(text));
}

}  // namespace velmora::qt
