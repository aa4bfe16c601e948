#include "SampleReport.h"

ExpenseReport SampleReport() {
    const auto setText = [](ExpenseReport& report, const char* name, const char* text) {
        for (size_t i = 0; i < kTextFieldNames.size(); ++i)
            if (kTextFieldNames[i] == QLatin1String(name)) report.texts[i] = QString::fromUtf8(text);
    };
    ExpenseReport report = ReportFromValues([](const QString&) { return std::nullopt; }, QDate(2016, 11, 1));
    setText(report, "txtPurpose", "Business trip");
    setText(report, "txtStatement", "B1415");
    setText(report, "txtName", "Peter Ashdown");
    setText(report, "txtPosition", "Jr. Manager");
    setText(report, "txtSSN", "NA");
    setText(report, "txtEmpID", "SM17");
    setText(report, "txtManager", "M. T. Garfoot");
    setText(report, "txtDept", "Sales");
    setText(report, "txtApproved1", "OK");
    setText(report, "txtNotes1", "Check next month");
    report.payFrom = QDate(2016, 11, 5);
    report.payTo = QDate(2016, 11, 11);
    report.rows[1] = {QDate(2016, 11, 10), QStringLiteral("111017"), QStringLiteral("Hotel account"),
                      {"$118.74", "$0.00", "$0.00", "$52.89", "$48.75", "$14.99", "$15.49"}};
    report.rows[0] = {QDate(2016, 11, 7), QStringLiteral("110797"), QStringLiteral("Transport account"),
                      {"$0.00", "$112.57", "$44.58", "$22.58", "$18.35", "$0.00", "$0.00"}};
    return report;
}
