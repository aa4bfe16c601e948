#include "DrawnText.h"

namespace xls {

QString drawnText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).normalized(QString::NormalizationForm_C);
}

}  // namespace xls
