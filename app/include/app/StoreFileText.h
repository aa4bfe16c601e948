// Entries as the settings store file's text. What is written here, the INI reader (ParseStoreText)
// reads back exactly, every value as a text: values are quoted and escaped, and keys and sections
// escaped, as that reader expects. A later line of a key replaces an earlier one, so a changed
// value can be added at the end of the file rather than the file written again.
#pragma once

#include "app/SettingsFile.h"

#include <QByteArray>
#include <QString>

// The header line of section ("" is the part before any header), line feed included.
QByteArray StoreSectionLine(const QString& section);

// key="value" and its line feed.
QByteArray StoreEntryLine(const QString& key, const QString& value);

// A whole file: each entry ("section/key", or "key" outside any section) under its section's
// header, the sections in the order they first appear.
QByteArray StoreText(const StoreEntries& entries);
