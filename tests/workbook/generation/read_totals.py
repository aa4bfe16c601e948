"""Prints the sample report's computed cells of a workbook as an independent reader sees them.

usage: read_totals.py xlrd FILE       -> cached values through python3-xlrd
       read_totals.py openpyxl FILE   -> cached values of an .xlsx through python3-openpyxl
       read_totals.py csv FILE.csv    -> values LibreOffice computed and exported as csv
One line: M11 M12 M27 M29 E26 F26 G26 H26 I26 K26 L26, each with two decimals.
"""
import csv
import sys

CELLS = ["M11", "M12", "M27", "M29", "E26", "F26", "G26", "H26", "I26", "K26", "L26"]


def position(name):
    return int(name[1:]) - 1, ord(name[0]) - ord("A")


def number(text):
    text = text.strip().replace("$", "").replace(",", "").replace(" ", "")
    if text in ("", "-"):
        return 0.0
    if text.startswith("(") and text.endswith(")"):
        return -float(text[1:-1])
    return float(text)


def from_xlrd(path):
    import xlrd
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    return [sheet.cell_value(*position(name)) for name in CELLS]


def from_openpyxl(path):
    import openpyxl
    sheet = openpyxl.load_workbook(path, data_only=True).worksheets[0]
    return [sheet[name].value or 0.0 for name in CELLS]


def from_csv(path):
    with open(path, newline="", encoding="utf-8") as handle:
        rows = list(csv.reader(handle))
    values = []
    for name in CELLS:
        row, col = position(name)
        values.append(number(rows[row][col]) if row < len(rows) and col < len(rows[row]) else 0.0)
    return values


if __name__ == "__main__":
    reader = {"xlrd": from_xlrd, "openpyxl": from_openpyxl, "csv": from_csv}[sys.argv[1]]
    print(" ".join("%.2f" % value for value in reader(sys.argv[2])))
