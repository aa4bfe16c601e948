/* Brindlemoor skin: soft push buttons and quiet frames. Grid cells and text boxes keep their layout. */

QPushButton {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #fbfbfb, stop: 1 #e4e7eb);
    border: 1px solid #9aa3ad;
    border-radius: 3px;
    color: #1f2a36;
    padding: 2px 8px;
}

QPushButton:hover {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #ffffff, stop: 1 #dde6f0);
    border-color: #5b87b5;
}

QPushButton:pressed {
    background-color: #cfd9e4;
    border-color: #3f6d9c;
}

QPushButton:focus {
    border-color: #3f6d9c;
}

QPushButton:disabled {
    color: #8a939c;
    background-color: #eceef0;
    border-color: #c3c9cf;
}

QGroupBox {
    border: 1px solid #b4bbc3;
    border-radius: 4px;
    margin-top: 8px;
}

QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0 3px;
    color: #2b3b4c;
}
