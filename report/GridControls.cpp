#include "GridControls.h"

GridCellField::GridCellField(QWidget* parent) : EntryField(parent) {}

ColumnTitleField::ColumnTitleField(QWidget* parent) : EntryField(parent, Overflow::ShrinkThenEllipsis) {}

ColumnTitleLabel::ColumnTitleLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}
