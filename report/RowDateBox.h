// The box that holds a grid row's date picker: it draws the cell's flat single border and clips
// the picker, which overhangs it, to the inside of that border, so the picker's raised frame is cut
// off and the date cell looks as flat as the text cells beside it. The border is drawn by the box
// and kept clear of the picker at any scale factor, so the row separators of the date column are
// never covered.
#pragma once

#include <QWidget>

class RowDateBox : public QWidget {
    Q_OBJECT
public:
    explicit RowDateBox(QWidget* parent);

    // Places the picker inside the box at geometry (box coordinates); it may stand out on every side.
    void hold(QWidget* picker, const QRect& geometry);

    // A small mark in the cell's top right corner, inside its border, over the picker: the row
    // has receipts.
    void showReceiptMark(bool shown);
    bool receiptMarkShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void clipPicker();
    void placeMark();

    QWidget* m_picker = nullptr;
    QWidget* m_mark = nullptr;  // made when first shown
};
