// The application shell's one failure type: the settings store, the outputs the program writes
// (their targets, replacement files and sets), the scratch folder, the skin and file deletion
// throw it. The message reads to the user as it stands and names the path and the reason. The
// windows show it through their error handler or a box of their own; the batch front end turns it
// into its exit status. A misnamed output (one named for two outputs, or one that is an input of
// the same work) is the caller's mistake rather than the file system's, and says so in its cause.
#pragma once

#include <QString>

#include <stdexcept>

class AppError : public std::runtime_error {
public:
    enum class Cause { Failed, Misnamed };
    explicit AppError(const QString& message, Cause cause = Cause::Failed)
        : std::runtime_error(message.toStdString()), m_cause(cause) {}
    Cause cause() const { return m_cause; }

private:
    Cause m_cause;
};
