#include "SampleReport.h"

ExpenseReport SampleReport() {
    ExpenseReport report = ReportFromValues([](const QString&) { return std::nullopt; }, QDate(2016, 11, 1));
    report.purpose = QStringLiteral("Business trip");
    report.statement = QStringLiteral("B1415");
    report.name = QStringLiteral("Peter Ashdown");
    report.position = QStringLiteral("Jr. Manager");
    report.ssn = QStringLiteral("NA");
    report.empID = QStringLiteral("SM17");
    report.manager = QStringLiteral("M. T. Garfoot");
    report.dept = QStringLiteral("Sales");
    report.approved1 = QStringLiteral("OK");
    report.notes1 = QStringLiteral("Check next month");
    report.payFrom = QDate(2016, 11, 5);
    report.payTo = QDate(2016, 11, 11);
    report.rows[1] = {QDate(2016, 11, 10),
                      QStringLiteral("111017"),
                      QStringLiteral("Hotel account"),
                      {"$118.74", "$0.00", "$0.00", "$52.89", "$48.75", "$14.99", "$15.49"},
                      {}};
    report.rows[0] = {QDate(2016, 11, 7),
                      QStringLiteral("110797"),
                      QStringLiteral("Transport account"),
                      {"$0.00", "$112.57", "$44.58", "$22.58", "$18.35", "$0.00", "$0.00"},
                      {}};
    return report;
}
