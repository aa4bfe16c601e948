#include "FrameContents.h"

#include "EntryAccessibility.h"

#include <QGroupBox>

FrameContents::FrameContents(QGroupBox* frame) : QWidget(frame) {
    setObjectName(frame->objectName() + QStringLiteral("Contents"));
    setGeometry(frame->rect());
    // Hover moves over the layer reach the frame (and its pointer rule) only if the layer takes them.
    setMouseTracking(true);
    ExposeEntryControls();
}
