// What a screen reader calls the preview's controls; the buttons go by their captions.
#include "preview/Form2.h"

#include "PictureBox.h"

#include <QScrollBar>

void Form2::nameControls() {
    Picture2->setAccessibleName(QStringLiteral("Preview of the expense report"));
    Picture1->setAccessibleName(QStringLiteral("Picture of the expense report"));
    Picture2->setAccessibleDescription(
        QStringLiteral("Plus and minus zoom; the arrow keys, Page Up, Page Down, Home and End scroll."));
    HScroll1->setAccessibleName(QStringLiteral("Scroll the picture sideways"));
    VScroll1->setAccessibleName(QStringLiteral("Scroll the picture up and down"));
}
