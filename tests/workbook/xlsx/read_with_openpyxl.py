"""Prints what openpyxl reads from an .xlsx file as JSON: every cell of the active sheet (value with
cached results, formula, format) and the sheet's merges, sizes, view and page setup."""
import json
import sys

import openpyxl
from openpyxl.utils.datetime import to_excel


def colour(c):
    rgb = getattr(c, "rgb", None) if c is not None else None
    return rgb if isinstance(rgb, str) else None


def value(v):
    if hasattr(v, "year"):
        return to_excel(v)
    return v


def main(path):
    formulas = openpyxl.load_workbook(path).active
    results = openpyxl.load_workbook(path, data_only=True).active
    cells = {}
    for row in formulas.iter_rows():
        for cell in row:
            if cell.value is None and not cell.has_style:
                continue
            result = results[cell.coordinate]
            b = cell.border
            cells[cell.coordinate] = {
                "value": value(result.value),
                "type": result.data_type,
                "formula": cell.value if cell.data_type == "f" else None,
                "numberFormat": cell.number_format,
                "font": [cell.font.name, cell.font.sz, bool(cell.font.b), bool(cell.font.i), colour(cell.font.color)],
                "fill": colour(cell.fill.fgColor) if cell.fill.fill_type == "solid" else None,
                "borders": [s.style for s in (b.left, b.right, b.top, b.bottom)],
                "align": [cell.alignment.horizontal, cell.alignment.vertical, bool(cell.alignment.wrap_text)],
            }
    ws = formulas
    setup = ws.page_setup
    print(json.dumps({
        "title": ws.title,
        "cells": cells,
        "merges": sorted(str(r) for r in ws.merged_cells.ranges),
        "widths": {k: d.width for k, d in ws.column_dimensions.items() if d.customWidth},
        "heights": {str(k): d.height for k, d in ws.row_dimensions.items() if d.height is not None},
        "gridlines": ws.sheet_view.showGridLines,
        "zoom": ws.sheet_view.zoomScale or 100,
        "activeCell": ws.sheet_view.selection[0].activeCell,
        "printArea": ws.print_area,
        "paper": int(setup.paperSize),
        "orientation": setup.orientation,
        "fitToPage": bool(ws.sheet_properties.pageSetUpPr.fitToPage),
        "fit": [int(setup.fitToWidth or 1), int(setup.fitToHeight or 1)],
        "centred": [bool(ws.print_options.horizontalCentered), bool(ws.print_options.verticalCentered)],
        "margins": [ws.page_margins.left, ws.page_margins.right, ws.page_margins.top, ws.page_margins.bottom,
                    ws.page_margins.header, ws.page_margins.footer],
    }))


main(sys.argv[1])
