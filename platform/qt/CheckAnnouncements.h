#pragma once
// Tells assistive technology when a row of a list is ticked or unticked, by the user or by the
// program: Qt's item views leave the change of a cell's check state unannounced.

class QTreeWidget;

namespace velmora::qt {

void AnnounceCheckChanges(QTreeWidget& list);

}  // namespace velmora::qt
