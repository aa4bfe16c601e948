// The particulars grid's cells and column titles. The grid's style sheet tells them apart by their
// class: a selector on a property would look the property up by name for every control polished.
#pragma once

#include "EntryField.h"

#include <QLabel>

// A cell of a grid row: account, description or an amount.
class GridCellField : public EntryField {
    Q_OBJECT
public:
    explicit GridCellField(QWidget* parent);
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
};
