// The preview window's one failure type: the result workbook cannot be printed, copied or saved
// in the form asked for, or a statement of the window cannot be carried out. The message names the
// file and the reason as the user reads it ("PATH cannot be printed: the sheet has nothing to
// print"). The window's error handler catches it and shows the message in its error report box.
// A receipt that cannot be read while the PDF is made passes through as the receipts' own type.
#pragma once

#include <QString>

#include <stdexcept>

class PreviewError : public std::runtime_error {
public:
    explicit PreviewError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
