// The receipts' one failure type. A receipt that cannot be used (Cause::Refused: missing, empty,
// damaged, encrypted, of another type) carries the file as the user named it and what is wrong
// with it; a library that cannot be written or a hand-in PDF that cannot be made
// (Cause::NotMade) carries its message alone. The entry window shows either in a box; the batch
// front end takes a refused receipt for bad input and the rest for a failed write.
#pragma once

#include <QString>

#include <stdexcept>

class ReceiptError : public std::runtime_error {
public:
    enum class Cause { Refused, NotMade };

    // A refused receipt; reason reads after the file's name: "is truncated", "cannot be read:
    // Permission denied".
    ReceiptError(const QString& file, const QString& reason)
        : std::runtime_error((file + QLatin1Char(' ') + reason).toStdString()),
          m_cause(Cause::Refused),
          m_file(file),
          m_reason(reason) {}

    // Something that could not be made or kept, as the message says it.
    static ReceiptError notMade(const QString& message) { return ReceiptError(message); }

    Cause cause() const { return m_cause; }
    const QString& file() const { return m_file; }  // empty unless refused
    const QString& reason() const { return m_reason; }

private:
    explicit ReceiptError(const QString& message)
        : std::runtime_error(message.toStdString()), m_cause(Cause::NotMade), m_reason(message) {}

    Cause m_cause;
    QString m_file;
    QString m_reason;
};
