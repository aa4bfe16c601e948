// Cell borders: on each edge shared by two cells the heavier of their two borders is drawn, on
// the gridline pixel between them; edges inside a merged range carry none.
#pragma once

#include "CellLookup.h"
#include "xls/SheetGeometry.h"

#include <QPainter>

namespace xls {

// Ranks border styles so that the heavier wins a shared edge and is drawn last.
int borderWeight(BorderStyle style);
void paintBorders(QPainter& painter, const SheetGeometry& geometry, const CellLookup& cells);

}  // namespace xls
