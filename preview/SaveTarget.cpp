#include "SaveTarget.h"

#include "FileReplace.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

// Formats that carry only the workbook leave the receipts to the PDF.
template <void (*Replace)(const QString&, const QString&)>
void WithoutReceipts(const QString& workbook, const std::vector<HandInReceipt>&, const QString& target) {
    Replace(workbook, target);
}

}  // namespace

const std::array<SaveFormat, 3> kSaveFormats{{
    {QStringLiteral("Excel Files (*.xls)"), QStringLiteral("xls"), WithoutReceipts<ReplaceWithCopy>},
    {QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"), ReplaceWithPdf},
    {QStringLiteral("Excel Workbook (*.xlsx)"), QStringLiteral("xlsx"), WithoutReceipts<ReplaceWithXlsx>},
}};

QString SaveFilters() {
    QStringList filters;
    for (const SaveFormat& format : kSaveFormats) filters << format.filter;
    return filters.join(QStringLiteral(";;"));
}

SaveTarget SaveTargetOf(const SaveDialogAnswer& answer) {
    if (answer.path.isEmpty()) return {};
    const QString extension = QFileInfo(answer.path).suffix();
    const auto named = std::find_if(kSaveFormats.begin(), kSaveFormats.end(), [&](const SaveFormat& format) {
        return extension.compare(format.extension, Qt::CaseInsensitive) == 0;
    });
    if (named != kSaveFormats.end()) return {answer.path, &*named};
    const auto selected = std::find_if(kSaveFormats.begin(), kSaveFormats.end(),
                                       [&](const SaveFormat& format) { return format.filter == answer.filter; });
    const SaveFormat& format = selected != kSaveFormats.end() ? *selected : kSaveFormats.front();
    // "report." takes the extension after its own dot rather than a second one.
    const QString dot = answer.path.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
    return {answer.path + dot + format.extension, &format};
}
