#!/usr/bin/python3
"""Lists the streams of a compound file with olefile, its root class id and its document properties."""
import sys

import olefile

ole = olefile.OleFileIO(sys.argv[1])
for entry in sorted("/".join(path) for path in ole.listdir()):
    print(f"{entry} {ole.get_size(entry)}")
metadata = ole.get_metadata()
print(f"codepage {metadata.codepage} {metadata.codepage_doc}")
print(f"root class {ole.root.clsid}")
