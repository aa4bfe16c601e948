// Per-user store of the report's fields: string values under application, section and key.
// Names match without regard to letter case; every write is on disk before it returns, and costs
// what it changes, not the size of the store.
// A store file this user can read but not write (or one of another user) is read and never
// touched: every write is refused. A link that another user could have planted is not followed:
// such a store is neither read nor written.
// A damaged file is set aside once, with a notice, and every entry that still reads is kept.
// A file found deleted, replaced or changed under the program is set aside, never overwritten,
// and everything the store holds is written again, once, with a notice.
#pragma once

#include "app/AppError.h"
#include "app/SettingsFile.h"

#include <QString>

// The stored value, or defaultValue when the key has no entry (an empty entry returns "").
QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue);

// Replaces the key's value and syncs it to disk. Throws AppError, saying why, when the
// store cannot be written (inside a DeferredSettingsSync, a read-only store refuses silently).
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// Forgets the open stores, so the next use finds the file again (after XDG_CONFIG_HOME changed).
void ReloadSettingsLocation();

// While one exists, writes are held in memory and written to disk once, when the last one ends. For the entry window's
// load: it writes back values the store already holds in another form, so a kill in between loses nothing typed, and a
// first start does not pay one disk sync per field.
class DeferredSettingsSync {
public:
    DeferredSettingsSync();
    ~DeferredSettingsSync();
    DeferredSettingsSync(const DeferredSettingsSync&) = delete;
    DeferredSettingsSync& operator=(const DeferredSettingsSync&) = delete;
};
