#include "preview/SaveTarget.h"

#include <QFileInfo>

SaveTarget SaveTargetOf(const SaveDialogAnswer& answer) {
    if (answer.path.isEmpty()) return {};
    if (answer.path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return {answer.path, SaveTarget::Format::Pdf};
    if (answer.filter != kPdfFilter) return {answer.path, SaveTarget::Format::Workbook};
    const bool hasExtension = QFileInfo(answer.path).fileName().contains(QLatin1Char('.'));
    return {hasExtension ? answer.path : answer.path + QStringLiteral(".pdf"), SaveTarget::Format::Pdf};
}
