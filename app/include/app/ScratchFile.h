// A scratch file that holds the user's report (the result workbook, the sheet's picture), owned by
// one holder at a time. The file goes when its holder removes, replaces or drops it, and with the
// program on every way out that runs code: its normal end, a termination signal, the session's end.
#pragma once

#include <QString>

class ScratchFile {
public:
    ScratchFile() = default;
    // Takes the file at path (which need not exist yet) into this holder's care.
    explicit ScratchFile(QString path);
    // Removes the file, quietly, if it is still held.
    ~ScratchFile();
    ScratchFile(ScratchFile&& other) noexcept;
    // Removes the file held before (unless other holds the same one) and takes other's.
    ScratchFile& operator=(ScratchFile&& other) noexcept;
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // The file's path; it stays the name of the file once removed.
    const QString& path() const { return m_path; }

    // Removes the held file as DeleteScratchFile does (pending events first, never a failure); a
    // file not held is left alone. A file that could not be removed stays held, so the program's
    // end tries again.
    void remove();

private:
    void release() noexcept;

    QString m_path;
    bool m_held = false;
};

// Removes every scratch file some holder still holds, without running any event; for the
// program's end, whichever way it comes.
void RemoveEveryScratchFile() noexcept;
