#pragma once
// The list of windows: rows with a check box in their first cell. Assistive technology's
// "Toggle" on a cell ticks or unticks its row, as a click on the check box does (Qt's cell
// action only selects the row, which the program never reads).

#include <QTreeWidget>

namespace velmora::qt {

class CheckList : public QTreeWidget {
public:
    explicit CheckList(QWidget* parent);

protected:
    // The user's own clicks and keys select rows as ever: selections made while an event of
    // the list's is handled are the user's, any other came from assistive technology.
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void ToggleTicks(const QItemSelection& rows);

    int handlingEvents_ = 0;
};

}  // namespace velmora::qt
