#!/usr/bin/python3
"""Checks a workbook with xlrd against expectations in a JSON file; prints each mismatch, exits 1 on any."""
import json
import sys

import xlrd

CELL_TYPES = {"text": xlrd.XL_CELL_TEXT, "number": xlrd.XL_CELL_NUMBER, "bool": xlrd.XL_CELL_BOOLEAN,
              "error": xlrd.XL_CELL_ERROR, "date": xlrd.XL_CELL_DATE, "blank": xlrd.XL_CELL_BLANK}


def main(path, expectations_path):
    with open(expectations_path, encoding="utf-8") as f:
        expected = json.load(f)
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_name(expected["sheet"])
    problems = []

    def check(what, want, got):
        if want != got:
            problems.append(f"{what}: expected {want!r}, got {got!r}")

    for row, col, kind, value, number_format in expected["cells"]:
        cell = sheet.cell(row, col)
        check(f"type of ({row},{col})", CELL_TYPES[kind], cell.ctype)
        if kind in ("text", "number"):
            check(f"value of ({row},{col})", value, cell.value)
        fmt = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
        check(f"format of ({row},{col})", number_format, fmt)
    check("merges", sorted(map(tuple, expected["merges"])), sorted(sheet.merged_cells))
    for col, width in expected["widths"]:
        check(f"width of column {col}", width, sheet.colinfo_map[col].width)
    for row, height in expected["heights"]:
        check(f"height of row {row}", height, sheet.rowinfo_map[row].height)
    check("gridlines shown", expected["gridlines"], bool(sheet.show_grid_lines))
    check("names", expected["names"], [name.name for name in book.name_obj_list])
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
