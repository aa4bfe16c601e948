// The outputs of one piece of work (a workbook, its picture, ...) put in place all together or not
// at all, by the rule of ReplacementFile.h. Every file output is complete, and standard output is
// written, before the first one replaces its target; on any failure every target is as it was.
#pragma once

#include "app/OutputTarget.h"
#include "app/ReplacementFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>
#include <vector>

class OutputSet {
public:
    OutputSet();
    ~OutputSet();
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    // A file the work reads, shown as name in messages: an output that would replace it is refused.
    void readsFrom(const QString& input, const QString& name);

    // Joins an output at path ("-" for standard output) and returns the device its content is
    // written to, valid while the set lives. Throws AppError for a target that may not be
    // replaced (see ResolveOutputTarget) or whose temporary file cannot be made, and a misnamed one:
    // a target already in the set, or an input of the work.
    QIODevice& join(const QString& path, LinkAtTarget atTarget = LinkAtTarget::Follow);

    // Puts every output in place. Throws AppError, with every target as it was, when one of
    // them cannot be completed or put in place, or standard output cannot be written (a reader
    // that closed its end included, with SIGPIPE ignored). Outputs not committed are removed with
    // the set.
    void commit();

private:
    std::vector<ReplacementFile*> placingOrder();

    struct Input {
        dev_t device;
        ino_t inode;
        QString name;
    };
    std::vector<Input> m_inputs;
    std::vector<std::unique_ptr<ReplacementFile>> m_files;
    QByteArray m_standardOutputBytes;
    std::unique_ptr<QBuffer> m_standardOutput;
};

// Writes bytes to an output's device. Throws AppError naming path and the reason.
void WriteToOutput(QIODevice& output, const QByteArray& bytes, const QString& path);

// Replaces the file at path with bytes, all or nothing. Throws AppError.
void ReplaceFile(const QString& path, const QByteArray& bytes, LinkAtTarget atTarget = LinkAtTarget::Follow);
