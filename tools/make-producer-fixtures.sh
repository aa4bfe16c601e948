#!/usr/bin/env bash
# Saves tests/workbook/engine/fixtures/expenses.csv as a 97–2003 workbook with LibreOffice and with
# Gnumeric, the fixtures that prove our reader against files other programs wrote:
#   libreoffice-expenses.xls, gnumeric-expenses.xls beside the source.
# Run it again after changing the source, then update what the tests expect of each file.
#   tools/make-producer-fixtures.sh
set -euo pipefail

fixtures=$(cd "$(dirname "$0")/../tests/workbook/engine/fixtures" && pwd)
source=$fixtures/expenses.csv

for tool in soffice ssconvert; do
    command -v "$tool" >/dev/null || { echo "$tool is needed (LibreOffice Calc, Gnumeric)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Comma-separated, double-quoted, UTF-8 (76), first line from row 1. A private profile keeps a running
# LibreOffice of the user out of the way.
soffice -env:UserInstallation=file://"$work/profile" --headless --infilter=CSV:44,34,76,1 \
    --convert-to xls --outdir "$work" "$source" >/dev/null 2>&1
[ -s "$work/expenses.xls" ] || { echo "LibreOffice wrote no workbook" >&2; exit 1; }
ssconvert --import-type=Gnumeric_stf:stf_csvtab --export-type=Gnumeric_Excel:excel_biff8 \
    "$source" "$work/gnumeric.xls" 2>/dev/null
[ -s "$work/gnumeric.xls" ] || { echo "Gnumeric wrote no workbook" >&2; exit 1; }

mv "$work/expenses.xls" "$fixtures/libreoffice-expenses.xls"
mv "$work/gnumeric.xls" "$fixtures/gnumeric-expenses.xls"
echo "$fixtures/libreoffice-expenses.xls"
echo "$fixtures/gnumeric-expenses.xls"
