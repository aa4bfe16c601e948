#include "app/MousePointer.h"

#include "app/PointerKinds.h"
#include "app/CursorFile.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

namespace {

// Far beyond any 256 x 256 cursor; a bigger file is not a cursor.
constexpr qint64 kMaxCursorFileSize = 1 << 20;

std::optional<QCursor> ReadCursor(const QString& cursorFile) {
    QFile file(cursorFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCursorFileSize) return std::nullopt;
    const QByteArray bytes = file.readAll();
    const auto parsed = ParseCursorFile(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
    if (!parsed) return std::nullopt;
    QImage image(parsed->width, parsed->height, QImage::Format_ARGB32);
    for (int y = 0; y < parsed->height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < parsed->width; ++x) line[x] = parsed->argb[size_t(y) * size_t(parsed->width) + size_t(x)];
    }
    return QCursor(QPixmap::fromImage(image), parsed->hotspotX, parsed->hotspotY);
}

}  // namespace

MousePointer::MousePointer(QWidget* window) : m_window(window) {}

bool MousePointer::loadCustom(const QString& cursorFile) {
    m_custom = ReadCursor(cursorFile);
    if (m_kind == kPointerCustom) apply();
    return m_custom.has_value();
}

void MousePointer::setKind(int kind) {
    if (kind == m_kind && m_applied) return;
    m_kind = kind;
    apply();
}

void MousePointer::apply() {
    QCursor cursor(Qt::ArrowCursor);
    if (m_kind == kPointerHourglass)
        cursor = QCursor(Qt::WaitCursor);
    else if (m_kind == kPointerCustom && m_custom)
        cursor = *m_custom;
    // One pointer for the whole window, except that text fields show where typing goes: the
    // I-beam wherever the window shows its default pointer.
    m_window->setCursor(cursor);
    for (QWidget* child : m_window->findChildren<QWidget*>())
        child->setCursor(m_kind == kPointerDefault && qobject_cast<QLineEdit*>(child) ? QCursor(Qt::IBeamCursor)
                                                                                      : cursor);
    m_applied = true;
}
