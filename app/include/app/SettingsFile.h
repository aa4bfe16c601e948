// The settings store's file as text: where it is, how it parses and whether it is damaged. Qt Core
// only, so a front end without windows can read the store.
#pragma once

#include "app/AppError.h"
#include "app/StoreFileLines.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

inline const QString kSettingsApp = QStringLiteral("Tarrowell");
inline const QString kSettingsSection = QStringLiteral("Brindlemoor");

using StoreEntries = std::vector<std::pair<QString, QString>>;

struct ParsedText {
    StoreEntries entries;  // each string entry under its "section/key"
    bool damaged = false;
};

// The file that holds appName's store: $XDG_CONFIG_HOME/<appName>.ini.
QString SettingsFilePath(const QString& appName);

// Store text as the INI reader reads it, handed to it in memory. Throws AppError when it
// cannot be handed over (a system without /proc), never taking that for damage.
ParsedText ParseStoreText(const QByteArray& text);

// Why the file does not read as a whole, or an empty text when it does.
QString DamageOf(const StoreFileLines& lines, const ParsedText& parsed);
