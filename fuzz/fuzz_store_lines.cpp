// The line filter of a damaged settings store file. No crash and no hang; what it keeps is text
// that it keeps whole when filtered again, so the store reads it as it was kept.
#include "app/StoreFileLines.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const StoreFileLines lines = KeepSoundLines(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(decoder(lines.sound));
    if (decoder.hasError() || lines.sound.contains('\0')) std::abort();
    const StoreFileLines again = KeepSoundLines(lines.sound);
    if (!again.damaged.empty() || again.sound != lines.sound) std::abort();
    return 0;
}
