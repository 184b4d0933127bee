#include "E2eStatePublisher.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>

namespace velmora::x11 {

namespace {

QString Field(QString text) { return text.replace('\t', ' ').replace('\n', ' '); }

QString ControlText(const QWidget& widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(&widget)) return frame->title();
    if (auto* line = qobject_cast<const QLineEdit*>(&widget)) return line->text();
    return {};
}

// Where the check box of a row is drawn, in the form's coordinates.
QPoint CheckBoxCentre(const QTreeWidget& list, QTreeWidgetItem* item, const QWidget& form) {
    const QRect row = list.visualItemRect(item);
    if (row.isEmpty() || !list.viewport()->rect().intersects(row)) return {-1, -1};
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = QRect(row.topLeft(), QSize(list.columnWidth(0), row.height()));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    const QRect box =
        list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
    return list.viewport()->mapTo(&form, box.center());
}

}  // namespace

E2eStatePublisher::E2eStatePublisher(QtFormWidgets& widgets, Writer writer)
    : widgets_(widgets), writer_(std::move(writer)) {
    pending_.setSingleShot(true);
    QObject::connect(&pending_, &QTimer::timeout, [this] {
        if (widgets_.Form()) writer_(widgets_.FormHandle(), Describe());
    });
}

bool E2eStatePublisher::Enabled() { return qEnvironmentVariable("VELMORA_E2E_STATE") == "1"; }

std::string E2eStatePublisher::Describe() {
    QWidget& form = *widgets_.Form();
    const auto& controls = widgets_.Controls();
    QStringList lines;
    for (std::size_t id = 0; id < controls.size(); ++id) {
        const QWidget* widget = controls[id].widget;
        if (!widget || controls[id].kind == ControlKind::Menu) continue;
        const QPoint centre = widget->mapTo(&form, widget->rect().center());
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        const auto name = widgets_.Design()->controls[id].name;
        lines << QStringList{"control",
                             QString::fromUtf8(name.data(), qsizetype(name.size())),
                             QString::number(centre.x()),
                             QString::number(centre.y()),
                             widget->isEnabled() ? "1" : "0",
                             button && button->isChecked() ? "1" : "0",
                             Field(ControlText(*widget))}
                     .join('\t');
        const auto* list = qobject_cast<const QTreeWidget*>(widget);
        for (int row = 0; list && row < list->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = list->topLevelItem(row);
            const QPoint box = CheckBoxCentre(*list, item, form);
            lines << QStringList{"row",
                                 QString::number(row + 1),
                                 item->checkState(0) == Qt::Checked ? "1" : "0",
                                 QString::number(box.x()),
                                 QString::number(box.y()),
                                 Field(item->text(0)),
                                 Field(item->text(1))}
                         .join('\t');
        }
    }
    return lines.join('\n').toStdString();
}

}  // namespace velmora::x11
