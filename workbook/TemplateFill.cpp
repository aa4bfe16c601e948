#include "workbook/TemplateFill.h"

std::shared_ptr<host::Workbook> OpenFilledTemplate(host::Application& instance, const TemplateSource& source,
                                                   const ExpenseReport& report, const StatementRunner& run) {
    std::shared_ptr<host::Workbook> book;
    run(110, [&] {
        book = source.path.isEmpty() ? instance.Workbooks().OpenFromBytes(source.bytes, QStringLiteral("template.xlt"))
                                     : instance.Workbooks().Open(source.path, std::nullopt, true);
    });
    if (!book) return nullptr;
    WriteReportCells(instance, report, run);
    run(184, [&] { instance.Range(QStringLiteral("C4")).Select(); });
    return book;
}
