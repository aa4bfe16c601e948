// Text from outside (a key, a value, a file name) as a message may show it: nothing in it can
// steer a terminal or reorder what is shown around it. Every message that can echo input goes
// through here on its way out.
#pragma once

#include <QString>

enum class LineBreaks {
    Escape,  // a one-line message: every line break is input
    Keep,    // a message box, whose own lines are made with CR and LF
};

// text with every control character (C0, DEL, C1), line and paragraph separator, direction
// control and unpaired surrogate written as \uXXXX (lowercase hex, as JSON writes it).
QString Printable(const QString& text, LineBreaks lineBreaks = LineBreaks::Escape);
