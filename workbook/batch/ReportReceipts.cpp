#include "ReportReceipts.h"

#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptError.h"
#include "workbook/batch/BatchExit.h"

void CheckReceipts(const ExpenseReport& report, const QString& name) {
    for (int row = 0; row < kGridRows; ++row) {
        for (const ReceiptFile& receipt : report.rows[size_t(row)].receipts) {
            try {
                CheckReceiptFile(receipt.path);
            } catch (const ReceiptError& error) {
                // A receipt that could not be checked at all is no fault of the input.
                const bool refused = error.cause() == ReceiptError::Cause::Refused;
                throw BatchFailure(
                    refused ? kBatchBadInput : kBatchCouldNotWrite,
                    QStringLiteral("%1: %2: %3").arg(name, ReceiptsKey(row), QString::fromStdString(error.what())));
            }
        }
    }
}
