#include "app/ErrorHandler.h"

#include "app/MessageService.h"

#include <exception>

void ShowErrorReport(const QString& description, const QString& location, int line) {
    const QString text = description + QStringLiteral("\r\n") + QStringLiteral("in Brindlemoor2021/08/31.") + location +
                         QStringLiteral(" ") + QStringLiteral("at line ") + QString::number(line) +
                         QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") +
                         kSupportAddress;
    ShowMessage({QStringLiteral("Application Error"), text, MsgIcon::Exclamation, MsgButtons::Ok});
}

QString CurrentErrorDescription() {
    const std::exception_ptr current = std::current_exception();
    if (!current) return QStringLiteral("Unknown error");
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}
