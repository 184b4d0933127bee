#include "CheckAnnouncements.h"

#include <QAccessible>
#include <QTreeWidget>

namespace velmora::qt {

void AnnounceCheckChanges(QTreeWidget& list) {
    QObject::connect(list.model(), &QAbstractItemModel::dataChanged, &list,
                     [&list](const QModelIndex& first, const QModelIndex& last,
                             const QList<int>& roles) {
                         if (!QAccessible::isActive() || first.column() != 0 ||
                             (!roles.isEmpty() && !roles.contains(Qt::CheckStateRole))) {
                             return;
                         }
                         QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&list);
                         QAccessibleTableInterface* table = view ? view->tableInterface() : nullptr;
                         if (!table) return;
                         QAccessible::State checked;
                         checked.checked = true;
                         for (int row = first.row(); row <= last.row(); ++row) {
                             if (QAccessibleInterface* cell = table->cellAt(row, 0)) {
                                 QAccessibleStateChangeEvent event(cell, checked);
                                 QAccessible::updateAccessibility(&event);
                             }
                         }
                     });
}

}  // namespace velmora::qt
