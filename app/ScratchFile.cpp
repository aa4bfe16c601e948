#include "app/ScratchFile.h"

#include "app/FileService.h"

#include <QFileInfo>

#include <cstdlib>
#include <set>
#include <utility>

namespace {

// Never destroyed, so that an end through exit() still finds it after other statics are gone.
std::multiset<QString>& Held() {
    static auto* held = [] {
        auto* files = new std::multiset<QString>;
        // exit() from anywhere (the display connection breaking ends the program so) runs this.
        std::atexit(RemoveEveryScratchFile);
        return files;
    }();
    return *held;
}

bool Gone(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

void RemoveQuietly(const QString& path) noexcept {
    try {
        if (!Gone(path)) ForceDeleteFile(path);
    } catch (...) {
        // Left for the next start, which removes what no running program holds.
    }
}

}  // namespace

ScratchFile::ScratchFile(QString path) : m_path(std::move(path)), m_held(!m_path.isEmpty()) {
    if (m_held) Held().insert(m_path);
}

ScratchFile::~ScratchFile() {
    if (m_held) RemoveQuietly(m_path);
    release();
}

ScratchFile::ScratchFile(ScratchFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_held(std::exchange(other.m_held, false)) {}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept {
    if (this == &other) return *this;
    // Handed the very file it holds, the holder keeps it rather than removing what it is given.
    if (m_held && !(other.m_held && other.m_path == m_path)) RemoveQuietly(m_path);
    release();
    m_path = std::move(other.m_path);
    m_held = std::exchange(other.m_held, false);
    return *this;
}

void ScratchFile::remove() {
    // A file no longer held is someone else's business, whatever now has its name.
    if (!m_held) return;
    DeleteScratchFile(m_path);
    if (Gone(m_path)) release();
}

void ScratchFile::release() noexcept {
    if (!m_held) return;
    m_held = false;
    auto& held = Held();
    if (const auto it = held.find(m_path); it != held.end()) held.erase(it);
}

void RemoveEveryScratchFile() noexcept {
    for (const QString& path : Held()) RemoveQuietly(path);
}
