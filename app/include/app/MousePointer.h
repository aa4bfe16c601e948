// A window's pointer as one property of the whole window: default arrow (the I-beam over text fields),
// hourglass or the custom (hand) pointer loaded from a cursor file.
#pragma once

#include <QCursor>
#include <QString>

#include <optional>

class QWidget;

class MousePointer {
public:
    explicit MousePointer(QWidget* window);

    // Loads a .cur file as the custom pointer; a missing or broken file leaves none (false).
    bool loadCustom(const QString& cursorFile);
    bool hasCustom() const { return m_custom.has_value(); }

    int kind() const { return m_kind; }  // kPointerDefault, kPointerHourglass or kPointerCustom
    void setKind(int kind);

private:
    void apply();

    QWidget* m_window;
    std::optional<QCursor> m_custom;
    int m_kind = 0;
    bool m_applied = false;
};
