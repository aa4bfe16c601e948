// The front end's exit codes and the failure that carries one.
#pragma once

#include <QString>

#include <stdexcept>

inline constexpr int kBatchDone = 0;
inline constexpr int kBatchCouldNotWrite = 1;
inline constexpr int kBatchBadInput = 2;

// The batch front end's one failure type: its one-line message and the exit code it ends the run
// with. The message is kept as given, so input quoted in it reaches SayOnStandardError unchanged.
// RunBatch catches it (ManyReports per report, to go on with the next); the failures of the host,
// the engine, the receipts and the outputs are turned into it where they are met.
class BatchFailure : public std::runtime_error {
public:
    BatchFailure(int exitCode, const QString& message)
        : std::runtime_error(message.toStdString()), m_exitCode(exitCode), m_message(message) {}
    int exitCode() const { return m_exitCode; }
    const QString& message() const { return m_message; }

private:
    int m_exitCode;
    QString m_message;
};

inline BatchFailure BadInput(const QString& message) { return BatchFailure(kBatchBadInput, message); }
inline BatchFailure CouldNotWrite(const QString& message) { return BatchFailure(kBatchCouldNotWrite, message); }
