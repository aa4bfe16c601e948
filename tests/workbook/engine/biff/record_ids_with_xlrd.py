#!/usr/bin/python3
"""Opens a workbook with xlrd, then lists the records of its Workbook stream as xlrd walks them:
one line per record, "offset id" in decimal and hex. Exits 1 when xlrd cannot open the file."""
import io
import re
import sys

import xlrd

RECORD = re.compile(r"^\s*(\d+): ([0-9a-f]{4}) \S+ len = ")


def main(path):
    xlrd.open_workbook(path, formatting_info=True)
    dump = io.StringIO()
    xlrd.dump(path, outfile=dump)
    for line in dump.getvalue().splitlines():
        match = RECORD.match(line)
        if match:
            print(match.group(1), match.group(2))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
