// A receipt that cannot be used: the file as the user named it, and what is wrong with it.
#pragma once

#include <QString>

#include <stdexcept>

class ReceiptRefused : public std::runtime_error {
public:
    // reason reads after the file's name: "is truncated", "cannot be read: Permission denied".
    ReceiptRefused(const QString& file, const QString& reason)
        : std::runtime_error((file + QLatin1Char(' ') + reason).toStdString()), m_file(file), m_reason(reason) {}

    const QString& file() const { return m_file; }
    const QString& reason() const { return m_reason; }

private:
    QString m_file;
    QString m_reason;
};
