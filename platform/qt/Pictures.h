#pragma once
// The pictures the program has loaded, by number: cursors and icons read from files, and the
// program's own images.

#include <QCursor>
#include <QPixmap>
#include <string>
#include <vector>

#include "platform/Runtime.h"

namespace velmora::qt {

class Pictures {
public:
    // Reads a cursor (.cur, with its hot spot) or icon file; throws RuntimeError.
    Picture Load(const std::string& path);
    Picture Add(const QPixmap& pixmap);

    // Null pixmap and arrow cursor for 0 or an unknown number.
    QPixmap Pixmap(Picture picture) const;
    QCursor Cursor(Picture picture) const;

private:
    struct Entry {
        QPixmap pixmap;
        QPoint hotSpot;
    };
    std::vector<Entry> entries_;
};

}  // namespace velmora::qt
