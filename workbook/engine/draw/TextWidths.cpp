#include "TextWidths.h"

namespace xls {

int TextWidths::advance(const QString& text) const {
    if (const auto known = advances_.constFind(text); known != advances_.constEnd()) return *known;
    const int width = metrics_.horizontalAdvance(text);
    advances_.insert(text, width);
    return width;
}

}  // namespace xls
