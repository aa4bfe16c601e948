// The particulars grid's cells and column titles: flat single borders, one black pixel, that overlap
// by one pixel draw the grid. The cells and fixed titles paint their own border; a style sheet on
// the grid would draw the same, but it makes every control of the grid pay for its polishing.
#pragma once

#include "EntryField.h"

#include <QColor>
#include <QLabel>

// A cell of a grid row: account, description or an amount.
class GridCellField : public EntryField {
    Q_OBJECT
public:
    explicit GridCellField(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A column title the user can edit: an amount column's heading.
class ColumnTitleField : public EntryField {
    Q_OBJECT
public:
    explicit ColumnTitleField(QWidget* parent);
};

// A fixed column title: date, account, description.
class ColumnTitleLabel : public QLabel {
    Q_OBJECT
public:
    ColumnTitleLabel(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
