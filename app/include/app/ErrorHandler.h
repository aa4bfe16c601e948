// The error-handler convention: numbered statements run in order; a failing statement shows the
// "Application Error" box naming the location and statement number, then the next statement runs.
#pragma once

#include <QString>

#include <exception>
#include <utility>

// The vendor's support address shown at the end of every error report box.
inline const QString kSupportAddress = QStringLiteral("support@tarrowell.example");

// Shows the error report box for a failure at location ("Form1.Form_Load") and statement number.
void ShowErrorReport(const QString& description, const QString& location, int line);

// The description text of the exception currently being handled.
QString CurrentErrorDescription();

class ErrorHandler {
public:
    explicit ErrorHandler(QString location) : m_location(std::move(location)) {}

    // Runs one numbered statement; a failure is reported and execution goes on.
    template <class Statement>
    void step(int line, Statement&& statement) {
        try {
            statement();
        } catch (...) {
            ShowErrorReport(CurrentErrorDescription(), m_location, line);
        }
    }

    // A numbered condition test; a test that fails to evaluate counts as passed (resume next
    // runs the guarded statement).
    template <class Condition>
    bool test(int line, Condition&& condition) {
        try {
            return bool(condition());
        } catch (...) {
            ShowErrorReport(CurrentErrorDescription(), m_location, line);
            return true;
        }
    }

private:
    QString m_location;
};
