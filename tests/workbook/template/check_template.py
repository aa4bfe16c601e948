"""Checks the template workbook with xlrd (formatting info); prints each mismatch, exits 1 on any."""
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
problems = []


def check(what, actual, expected):
    if actual != expected:
        problems.append(f"{what}: {actual!r} != {expected!r}")


def cell(address):
    column = ord(address[0]) - ord("A")
    return sheet.cell(int(address[1:]) - 1, column)


def number_format(address):
    return book.format_map[book.xf_list[cell(address).xf_index].format_key].format_str


check("sheet name", sheet.name, "Expense report")
check("rows", sheet.nrows, 29)
check("columns", sheet.ncols, 14)
labels = {"K1": "For Office Use Only", "B2": "Expense report", "B4": "PURPOSE:", "F4": "STATEMENT NUMBER:",
          "K4": "PAY PERIOD:", "L4": "From", "L5": "To", "B6": "EMPLOYEE INFORMATION:", "B7": "Name",
          "F7": "Position", "K7": "    SSN", "B8": "Department", "F8": "Manager", "K8": "    Employee ID",
          "B10": "Date", "C10": "Account", "D10": "Description", "E10": "Hotel", "F10": "Transport", "G10": "Fuel",
          "H10": "Meals", "I10": "Phone", "K10": "Entertainment", "L10": "Misc.", "M10": "Total", "L27": "Subtotal",
          "B28": "APPROVED:", "F28": "NOTES: ", "L28": "Advances", "L29": "Total"}
for address, text in labels.items():
    check(address, cell(address).value, text)
for address in ["M11", "M25", "E26", "I26", "L26", "M27", "M29"]:
    check(address + " cached", (cell(address).ctype, cell(address).value), (xlrd.XL_CELL_NUMBER, 0.0))
for address in ["M4", "M5"]:
    check(address + " cached", (cell(address).ctype, cell(address).value), (xlrd.XL_CELL_DATE, 0.0))
check("M28 empty", cell("M28").ctype, xlrd.XL_CELL_BLANK)
check("B11 format key", book.xf_list[cell("B11").xf_index].format_key, 14)
check("M4 format", number_format("M4"), "m/d/yyyy;;")
check("L8 format", number_format("L8"), "@")
check("E11 format key", book.xf_list[cell("E11").xf_index].format_key, 44)
check("M29 format key", book.xf_list[cell("M29").xf_index].format_key, 44)
merges = {(r0, r1, c0, c1) for r0, r1, c0, c1 in sheet.merged_cells}
for expected in [(1, 3, 1, 13), (3, 4, 2, 4), (7, 8, 11, 13), (9, 10, 8, 10), (16, 17, 8, 10), (25, 26, 8, 10),
                 (28, 29, 6, 10)]:
    check(f"merge {expected}", expected in merges, True)
check("I18:J18 not merged", (17, 18, 8, 10) in merges, False)
check("merge count", len(merges), 25)
widths = {"A": 256, "B": 3108, "D": 7643, "E": 3035, "H": 3035, "I": 2157, "J": 1097, "K": 3620, "L": 2998, "M": 3181}
for column, width in widths.items():
    check(f"width {column}", sheet.colinfo_map[ord(column) - ord("A")].width, width)
heights = {0: 330, 1: 510, 2: 600, 3: 342, 6: 330, 9: 402, 10: 342, 28: 342}
for row, height in heights.items():
    check(f"height {row + 1}", sheet.rowinfo_map[row].height, height)
check("gridlines shown", sheet.show_grid_lines, 0)
title_font = book.font_list[book.xf_list[cell("B2").xf_index].font_index]
check("title font", (title_font.name, title_font.height), ("Tahoma", 480))

for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
