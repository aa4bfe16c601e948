// Taking a picture from the system clipboard, with the host's retry rule.
#pragma once

#include <QImage>

#include <functional>
#include <optional>

inline constexpr int kClipboardAttempts = 1000;

// One attempt to take the clipboard's picture; nullopt when the clipboard holds none.
using ClipboardAttempt = std::function<std::optional<QImage>()>;

// Reads the system clipboard as a picture (format 0: whatever picture format it offers).
std::optional<QImage> ReadClipboardImage();

// Up to kClipboardAttempts attempts, one right after the other, until one gives a picture that is
// not null; nullopt when none did: the clipboard held no picture. Reports nothing itself.
std::optional<QImage> GetClipboardPicture(int format, const ClipboardAttempt& attempt = ReadClipboardImage);
