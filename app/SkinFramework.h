// Our skin engine: a skin is a Qt style sheet file. Members keep the numbering of the call sequence
// the entry window's load drives (method 2 loads, property 1 holds options, properties 5 and 10 are
// switches, method 3 applies).
#pragma once

#include "app/AppError.h"

#include <QString>

class QWidget;

class SkinFramework {
public:
    // Option bit: the window's own background follows the sheet too, not only its controls.
    static constexpr int kApplyWindowBackground = 1;

    // Method 2. Reads the skin file; variant names a variant of it, empty for the file as a whole.
    // Throws AppError for an unreadable or malformed file.
    void loadSkin(const QString& path, const QString& variant);

    // Property 1.
    int applyOptions() const { return m_options; }
    void setApplyOptions(int options) { m_options = options; }

    // Property 5: the skin is switched on; applyWindow does nothing while it is off.
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // Property 10: applyWindow repaints the window at once instead of at the next paint request.
    void setRepaintOnApply(bool repaint) { m_repaintOnApply = repaint; }

    // Method 3. Gives the loaded sheet to the window and through it to all its controls.
    void applyWindow(QWidget* window) const;

    const QString& styleSheet() const { return m_styleSheet; }

private:
    QString m_styleSheet;
    int m_options = 0;
    bool m_enabled = false;
    bool m_repaintOnApply = false;
};
