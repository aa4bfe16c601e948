#include "workbook/CellMap.h"

#include <array>
#include <optional>

namespace {

struct HeaderCell {
    int line;
    int row;
    int column;
    std::optional<TextField> field;  // none for the two pay-period dates
};

constexpr std::array<HeaderCell, 14> kHeaderCells{{
    {118, 4, 3, TextField::Purpose},
    {120, 4, 8, TextField::Statement},
    {122, 4, 13, std::nullopt},
    {124, 5, 13, std::nullopt},
    {126, 7, 3, TextField::Name},
    {128, 8, 3, TextField::Dept},
    {130, 7, 7, TextField::Position},
    {132, 7, 12, TextField::SSN},
    {134, 8, 12, TextField::EmpID},
    {136, 8, 7, TextField::Manager},
    {138, 28, 3, TextField::Approved1},
    {140, 29, 3, TextField::Approved2},
    {142, 28, 7, TextField::Notes1},
    {144, 29, 7, TextField::Notes2},
}};

// Category columns E, F, G, H, I, K, L: J is the right half of the Phone box.
constexpr std::array<int, kCategories> kCategoryColumns{5, 6, 7, 8, 9, 11, 12};

constexpr int kHeadingRow = 10;
constexpr int kFirstGridRow = 11;

}  // namespace

void RunStatement(int, const std::function<void()>& statement) { statement(); }

void WriteReportCells(host::Application& instance, const ExpenseReport& report, const StatementRunner& run) {
    const auto cell = [&instance](int row, int column) { return instance.Worksheets(1).Cells(row, column); };

    for (const HeaderCell& header : kHeaderCells) {
        run(header.line, [&] {
            if (header.field) {
                cell(header.row, header.column) = report.text(*header.field);
            } else {
                cell(header.row, header.column) = header.row == 4 ? report.payFrom : report.payTo;
            }
        });
    }

    for (int category = 0; category < kCategories; ++category)
        run(146 + 2 * category,
            [&] { cell(kHeadingRow, kCategoryColumns[size_t(category)]) = report.headings[size_t(category)]; });

    for (int index = 0; index < kGridRows; ++index) {
        const ExpenseRow& line = report.rows[size_t(index)];
        const int row = kFirstGridRow + index;
        run(162, [&] {
            if (line.date) {
                cell(row, 2) = *line.date;
            } else {
                cell(row, 2) = QString();
            }
        });
        run(164, [&] { cell(row, 3) = line.account; });
        run(166, [&] { cell(row, 4) = line.description; });
        for (int category = 0; category < kCategories; ++category)
            run(168 + 2 * category,
                [&] { cell(row, kCategoryColumns[size_t(category)]) = line.amounts[size_t(category)]; });
    }
}
