// One section of the settings store, read for a program that only reads it: the file is never
// created, mended or changed, and is found by the store's own rule (no link another user could
// have planted is followed, and nothing but a regular file is opened).
#pragma once

#include "app/AppError.h"

#include <QHash>
#include <QString>

#include <optional>

// Every entry of the section, by case-folded key. nullopt when there is no store file; throws
// AppError when the file cannot be read as a store.
std::optional<QHash<QString, QString>> ReadSettingsSection(const QString& appName, const QString& section);
