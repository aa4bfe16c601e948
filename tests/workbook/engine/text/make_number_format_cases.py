#!/usr/bin/env python3
"""Records how LibreOffice shows values under number format codes, for United States and German settings.

Writes number_format_cases.tsv (locale, code, value, shown) next to this script. Each locale runs in a
fresh LibreOffice profile whose locale setting is pinned, on a small .xlsx with one formatted cell per case.
Run by hand when the case list changes: python3 make_number_format_cases.py
"""
import csv
import os
import subprocess
import tempfile
import zipfile
from xml.sax.saxutils import escape

CASES = [
    ("General", [1234567890123, 0.30000000000000004, 123456.789012, -2 / 3, 0.00001234, 12345678901, 1.5, 0]),
    ("0", [2.5, -0.4, 1e20]),
    ("0.00", [2.675, -2, 1234.5]),
    ("#,##0", [1234567, 999.5, 0]),
    ("#,##0.00", [1234567.891, 0.004, -1234.5]),
    ("0.0,,", [12345678]),
    ("0,000", [5]),
    ("#.##", [5, 3.14159]),
    ("0%", [0.125, -0.5]),
    ("0.00%", [0.12345]),
    ("0.00E+00", [12345, 0.00012345, 9.999, 0]),
    ("##0.0E+0", [12345, 0.00012345]),
    ("# ?/?", [5.5, 0.5, 2]),
    ("# ??/??", [3.14159]),
    ("000-00-0000", [123456789]),
    ("0.00;(0.00)", [-2, 2]),
    ("0;-0;\"zero\"", [0, 5, -5]),
    ("[>100]\"big\";[<0]\"neg\";\"small\"", [150, 50]),
    ('"$"#,##0.00_);("$"#,##0.00)', [1234.5, -1234.5]),
    ('_("$"* #,##0.00_);_("$"* \\(#,##0.00\\);_("$"* "-"??_);_(@_)', [1234.5, 0, -3]),
    ("m/d/yyyy", [42679, 60, 61, 1]),
    ("m/d/yyyy;;", [42679]),
    ("d-mmm-yy", [42679]),
    ("dddd, mmmm d, yyyy", [42679]),
    ("dd.mm.yyyy", [42679]),
    ("mmm-yy", [42679]),
    ("h:mm AM/PM", [0.6]),
    ("h:mm:ss", [0.75, 0.999999999]),
    ("[h]:mm:ss", [1.5]),
    ("mm:ss.0", [0.000123]),
    ("m/d/yyyy h:mm", [42679.75]),
]

LOCALES = {"en_US": "en-US", "de_DE": "de-DE"}

CONTENT_TYPES = """<?xml version="1.0" encoding="UTF-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>
</Types>"""
ROOT_RELS = """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>"""
WORKBOOK = """<?xml version="1.0" encoding="UTF-8"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<sheets><sheet name="cases" sheetId="1" r:id="rId1"/></sheets></workbook>"""
WORKBOOK_RELS = """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
</Relationships>"""
PROFILE = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse"><value>{locale}</value></prop></item>
</oor:items>"""


def flat_cases():
    return [(code, value) for code, values in CASES for value in values]


def write_xlsx(path):
    codes = [code for code, _ in CASES]
    num_fmts = "".join(f'<numFmt numFmtId="{164 + i}" formatCode="{escape(code, {chr(34): "&quot;"})}"/>' for i, code in enumerate(codes))
    xfs = '<xf numFmtId="0" fontId="0" fillId="0" borderId="0"/>' + "".join(
        f'<xf numFmtId="{164 + i}" fontId="0" fillId="0" borderId="0" applyNumberFormat="1"/>' for i in range(len(codes)))
    styles = f"""<?xml version="1.0" encoding="UTF-8"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="{len(codes)}">{num_fmts}</numFmts>
<fonts count="1"><font><sz val="10"/><name val="Arial"/></font></fonts>
<fills count="1"><fill><patternFill patternType="none"/></fill></fills>
<borders count="1"><border/></borders>
<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>
<cellXfs count="{len(codes) + 1}">{xfs}</cellXfs>
</styleSheet>"""
    rows = []
    for row, (code, value) in enumerate(flat_cases(), start=1):
        style = codes.index(code) + 1
        rows.append(f'<row r="{row}"><c r="A{row}" s="{style}"><v>{value!r}</v></c></row>')
    sheet = f"""<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<cols><col min="1" max="1" width="60" customWidth="1"/></cols>
<sheetData>{"".join(rows)}</sheetData></worksheet>"""
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr("[Content_Types].xml", CONTENT_TYPES)
        archive.writestr("_rels/.rels", ROOT_RELS)
        archive.writestr("xl/workbook.xml", WORKBOOK)
        archive.writestr("xl/_rels/workbook.xml.rels", WORKBOOK_RELS)
        archive.writestr("xl/styles.xml", styles)
        archive.writestr("xl/worksheets/sheet1.xml", sheet)


def shown_under(locale, workdir, xlsx):
    profile = os.path.join(workdir, "profile-" + locale)
    os.makedirs(os.path.join(profile, "user"), exist_ok=True)
    with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as f:
        f.write(PROFILE.format(locale=locale))
    outdir = os.path.join(workdir, "out-" + locale)
    subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless", "--convert-to",
                    'csv:Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,true', "--outdir", outdir, xlsx],
                   check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(outdir, "cases.csv"), newline="", encoding="utf-8") as f:
        return [row[0] if row else "" for row in csv.reader(f, delimiter="\t")]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as workdir:
        xlsx = os.path.join(workdir, "cases.xlsx")
        write_xlsx(xlsx)
        with open(os.path.join(here, "number_format_cases.tsv"), "w", encoding="utf-8", newline="") as out:
            out.write("# locale\tcode\tvalue\tshown by LibreOffice (generated by make_number_format_cases.py)\n")
            for name, locale in LOCALES.items():
                shown = shown_under(locale, workdir, xlsx)
                for (code, value), text in zip(flat_cases(), shown):
                    out.write(f"{name}\t{code}\t{value!r}\t{text}\n")


if __name__ == "__main__":
    main()
