// What a frame of the entry window holds: a transparent layer over the whole frame that the
// frame's labels and fields sit on. A field placed straight on a group box is named after the
// box by a screen reader; on this layer it is labelled by its own label only. The layer is a
// nameless filler to a screen reader and passes the mouse's moves on to the frame.
#pragma once

#include <QWidget>

class QGroupBox;

class FrameContents : public QWidget {
    Q_OBJECT
public:
    explicit FrameContents(QGroupBox* frame);
};
