#include "receipts/HandInPdf.h"

std::vector<HandInReceipt> ReceiptsToHandIn(const ExpenseReport& report) {
    std::vector<HandInReceipt> receipts;
    for (const ExpenseRow& row : report.rows)
        for (qsizetype i = 0; i < row.receipts.size(); ++i) receipts.push_back({row.receipts[i], CaptionOf(row, i)});
    return receipts;
}
