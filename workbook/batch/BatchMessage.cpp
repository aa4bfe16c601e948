#include "workbook/batch/BatchMessage.h"

#include "app/PrintableText.h"

#include <cstdio>

void SayOnStandardError(const QString& message) {
    const QByteArray line = "brindlemoor-batch: " + Printable(message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}
