#include "QtText.h"

#include <QString>

namespace velmora::qt {

bool ContainsIgnoringCase(std::string_view text, std::string_view find) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .contains(QString::fromUtf8(find.data(), static_cast<qsizetype>(find.size())),
                  Qt::CaseInsensitive);
}

}  // namespace velmora::qt
