// The receipts the entry window keeps: copies in the user's data folder, each named by the hash of
// its content and readable by the user alone, so a moved or deleted original does not matter; and
// the store's text of a grid row's list of them.
#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <vector>

struct StoredReceipt {
    QString copy;  // the copy's name in the library
    QString name;  // the original's file name, which captions and menus show
    bool operator==(const StoredReceipt&) const = default;
};

// $XDG_DATA_HOME/brindlemoor/receipts (~/.local/share/brindlemoor/receipts without it).
QString ReceiptLibraryFolder();
QString ReceiptCopyPath(const QString& copy);

// Checks the file and copies it into the library, unless a copy of the same content is there;
// the copy is on disk before this returns. Throws ReceiptError: refused for a file that is no
// receipt, not made when the library cannot be written.
StoredReceipt AddToLibrary(const QString& path);

// Deletes the copy when none of the lists names it any more.
void DeleteCopyUnlessNamed(const QString& copy, const std::vector<QList<StoredReceipt>>& lists);

// The stored text of a row's list: "copy:name" for each receipt, joined by "/", which no file name
// holds. Names may hold ':'; a copy's name never does.
QString StoredReceiptsText(const QList<StoredReceipt>& receipts);
// nullopt when the text names something other than library copies.
std::optional<QList<StoredReceipt>> ParseStoredReceipts(const QString& text);
