#include "app/OutputSet.h"

#include <QDir>
#include <QFile>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

const QString kStandardOutput = QStringLiteral("-");

AppError misnamed(const QString& message) { return AppError(message, AppError::Cause::Misnamed); }

// Known written once every byte is in the system's hands; a closed reader fails here (EPIPE).
void writeStandardOutput(const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(STDOUT_FILENO, bytes.constData() + written, size_t(bytes.size() - written));
        if (count > 0) {
            written += count;
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN) {
            pollfd ready{STDOUT_FILENO, POLLOUT, 0};
            ::poll(&ready, 1, -1);
            continue;
        }
        throw AppError(
            QStringLiteral("standard output could not be written: %1").arg(SystemErrorText(count < 0 ? errno : EIO)));
    }
}

}  // namespace

OutputSet::OutputSet() = default;
OutputSet::~OutputSet() = default;

void OutputSet::readsFrom(const QString& input, const QString& name) {
    struct stat status {};
    if (::stat(QFile::encodeName(input).constData(), &status) == 0 && S_ISREG(status.st_mode))
        m_inputs.push_back({status.st_dev, status.st_ino, name});
}

QIODevice& OutputSet::join(const QString& path, LinkAtTarget atTarget) {
    if (path == kStandardOutput) {
        if (m_standardOutput) throw misnamed(QStringLiteral("standard output is named for two outputs"));
        m_standardOutput = std::make_unique<QBuffer>(&m_standardOutputBytes);
        m_standardOutput->open(QIODevice::WriteOnly);
        return *m_standardOutput;
    }
    OutputTarget target = ResolveOutputTarget(path, atTarget);
    const QString shown = QDir::toNativeSeparators(path);
    for (const auto& file : m_files)
        if (file->target().sameNameAs(target)) throw misnamed(QStringLiteral("%1 is named for two outputs").arg(shown));
    if (target.existing && S_ISREG(target.existing->st_mode))
        for (const Input& input : m_inputs)
            if (input.device == target.existing->st_dev && input.inode == target.existing->st_ino)
                throw misnamed(QStringLiteral("%1 is the input %2; it is not replaced").arg(shown, input.name));
    m_files.push_back(std::make_unique<ReplacementFile>(std::move(target)));
    return m_files.back()->device();
}

// New files first: taking one back only removes it. Then the files that replace others, each
// with a second name for the old file, except the last, after which nothing can fail. One file
// whose old one can have no second name can go last; a second such file fails the set.
std::vector<ReplacementFile*> OutputSet::placingOrder() {
    std::vector<ReplacementFile*> order;
    std::vector<ReplacementFile*> replacing;
    for (const auto& file : m_files) (file->replaces() ? replacing : order).push_back(file.get());
    ReplacementFile* last = nullptr;
    for (size_t i = 0; i < replacing.size(); ++i) {
        ReplacementFile* file = replacing[i];
        if (i + 1 == replacing.size() && !last) {
            last = file;
            break;
        }
        const QString why = file->keepSecondName();
        if (why.isEmpty()) {
            order.push_back(file);
            continue;
        }
        if (last)
            throw AppError(QStringLiteral("%1 could not be put in place: the old file could not be kept under a "
                                          "second name until the other outputs are in place (%2)")
                               .arg(QDir::toNativeSeparators(file->target().path), why));
        last = file;
    }
    if (last) order.push_back(last);
    return order;
}

void OutputSet::commit() {
    for (const auto& file : m_files) file->complete();
    const std::vector<ReplacementFile*> order = placingOrder();
    if (m_standardOutput) writeStandardOutput(m_standardOutputBytes);
    size_t placed = 0;
    try {
        for (; placed < order.size(); ++placed) order[placed]->putInPlace();
    } catch (const AppError&) {
        while (placed > 0) order[--placed]->takeBack();
        throw;
    }
}

void WriteToOutput(QIODevice& output, const QByteArray& bytes, const QString& path) {
    if (output.write(bytes) != bytes.size())
        throw AppError(
            QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), output.errorString()));
}

void ReplaceFile(const QString& path, const QByteArray& bytes, LinkAtTarget atTarget) {
    OutputSet output;
    WriteToOutput(output.join(path, atTarget), bytes, path);
    output.commit();
}
