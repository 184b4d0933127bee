#include "Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "platform/RuntimeError.h"

namespace velmora::qt {

namespace {

constexpr quint16 kCursorResource = 2;
// Far above any cursor or icon the program would be given.
constexpr qint64 kMostPictureBytes = 1 << 20;

quint16 Word(const QByteArray& bytes, int at) {
    return static_cast<quint16>(static_cast<unsigned char>(bytes[at]) |
                                (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// A .cur file is an icon directory whose entries hold the hot spot where an icon's entries hold
// planes and bit count. Qt's icon reader loads the image; the hot spot comes from here.
QPoint CursorHotSpot(const QByteArray& bytes) {
    constexpr int kHeader = 6, kHotSpotX = kHeader + 4, kHotSpotY = kHeader + 6;
    if (bytes.size() < kHotSpotY + 2 || Word(bytes, 2) != kCursorResource) return {};
    return {Word(bytes, kHotSpotX), Word(bytes, kHotSpotY)};
}

QImage ReadImage(const QString& path, const QByteArray& bytes) {
    QImage image(path);
    if (!image.isNull()) return image;
    // Qt reads cursors through its icon format once told to.
    QByteArray asIcon = bytes;
    if (asIcon.size() >= 4 && Word(asIcon, 2) == kCursorResource) asIcon[2] = 1;
    image.loadFromData(asIcon, "ICO");
    return image;
}

}  // namespace

Picture Pictures::Load(const std::string& path) {
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists()) throw RuntimeError::FileNotFound();
    // Only an ordinary file, read no further than the limit: opening a FIFO would block for
    // good, and a link to a device would be read without end.
    if (!info.isFile()) throw RuntimeError::InvalidPicture();
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) throw RuntimeError::FileNotFound();
    const QByteArray bytes = file.read(kMostPictureBytes + 1);
    if (bytes.size() > kMostPictureBytes) throw RuntimeError::InvalidPicture();
    const QImage image = ReadImage(name, bytes);
    if (image.isNull()) throw RuntimeError::InvalidPicture();
    entries_.push_back({QPixmap::fromImage(image), CursorHotSpot(bytes)});
    return static_cast<Picture>(entries_.size());
}

Picture Pictures::Add(const QPixmap& pixmap) {
    entries_.push_back({pixmap, {}});
    return static_cast<Picture>(entries_.size());
}

QPixmap Pictures::Pixmap(Picture picture) const {
    if (picture == 0 || picture > entries_.size()) return {};
    return entries_[picture - 1].pixmap;
}

QCursor Pictures::Cursor(Picture picture) const {
    if (picture == 0 || picture > entries_.size()) return QCursor(Qt::ArrowCursor);
    const Entry& entry = entries_[picture - 1];
    return QCursor(entry.pixmap, entry.hotSpot.x(), entry.hotSpot.y());
}

}  // namespace velmora::qt
