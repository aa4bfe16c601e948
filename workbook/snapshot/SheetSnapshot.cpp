#include "SheetSnapshot.h"

#include "app/ErrorHandler.h"
#include "workbook/host/HostError.h"
#include "PictureFile.h"

#include <optional>

void saveCellsActivesheet(const std::shared_ptr<host::Workbook>& book, const QString& path,
                          const ClipboardAttempt& attempt) {
    ErrorHandler handler(QStringLiteral("Excel1.saveCellsActivesheet"));
    std::optional<host::Worksheet> sheet;
    int lastRow = 0;
    int lastColumn = 0;

    handler.step(100, [&] {
        if (!book) throw host::HostError(QStringLiteral("No workbook is open to take a picture of."));
        sheet = book->ActiveSheet();
    });
    handler.step(102, [&] {
        if (!sheet) throw host::HostError(QStringLiteral("The workbook has no active sheet."));
        host::CellRange used = sheet->UsedRange();
        lastRow = used.Rows()(used.Rows().Count()).Row();
    });
    handler.step(104, [&] {
        if (!sheet) throw host::HostError(QStringLiteral("The workbook has no active sheet."));
        host::CellRange used = sheet->UsedRange();
        lastColumn = used.Columns()(used.Columns().Count()).Column();
    });
    if (handler.test(106, [&] { return lastRow <= 1 || lastColumn <= 1; })) return;
    handler.step(110, [&] { sheet->UsedRange().CopyPicture(); });
    handler.step(112, [&] {
        const std::optional<QImage> picture = GetClipboardPicture(0, attempt);
        if (!picture) throw host::HostError(QStringLiteral("The clipboard holds no picture of the sheet."));
        // A new file renamed into place: whatever sits at path, a planted link included, is replaced.
        WritePictureFile(*picture, path);
    });
}
