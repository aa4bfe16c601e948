#include "ClipboardPicture.h"

#include <QClipboard>
#include <QGuiApplication>

std::optional<QImage> ReadClipboardImage() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return std::nullopt;
    QImage image = clipboard->image();
    if (image.isNull()) return std::nullopt;
    return image;
}

std::optional<QImage> GetClipboardPicture(int, const ClipboardAttempt& attempt) {
    for (int tries = 0; tries < kClipboardAttempts; ++tries) {
        try {
            if (std::optional<QImage> picture = attempt(); picture && !picture->isNull()) return picture;
        } catch (...) {
            // A failed attempt is simply tried again.
        }
    }
    return std::nullopt;
}
