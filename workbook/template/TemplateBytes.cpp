#include "workbook/template/TemplateBytes.h"

#include <cstddef>

extern const unsigned char kEmbeddedTemplate[];
extern const std::size_t kEmbeddedTemplateSize;

QByteArray TemplateBytes() {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(kEmbeddedTemplate), qsizetype(kEmbeddedTemplateSize));
}
