#include "CheckList.h"

#include <QSet>

namespace velmora::qt {

namespace {

// Counts an event being handled for as long as it is.
template <typename Handle>
bool Handling(int& depth, Handle&& handle) {
    ++depth;
    const bool handled = handle();
    --depth;
    return handled;
}

}  // namespace

CheckList::CheckList(QWidget* parent) : QTreeWidget(parent) {
    // Rows are selected and unselected one by one, as on Windows: so the cell's action selects
    // or unselects exactly its row, and nothing else.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                if (handlingEvents_ == 0) ToggleTicks(selected.isEmpty() ? deselected : selected);
            });
}

bool CheckList::event(QEvent* event) {
    return Handling(handlingEvents_, [&] { return QTreeWidget::event(event); });
}

bool CheckList::viewportEvent(QEvent* event) {
    return Handling(handlingEvents_, [&] { return QTreeWidget::viewportEvent(event); });
}

void CheckList::ToggleTicks(const QItemSelection& rows) {
    QSet<int> toggled;
    for (const QModelIndex& index : rows.indexes()) {
        QTreeWidgetItem* item = itemFromIndex(index);
        if (item == nullptr || toggled.contains(index.row())) continue;
        toggled.insert(index.row());
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}

}  // namespace velmora::qt
