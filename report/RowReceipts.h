// The receipts of the grid's rows as the entry window keeps them: files dropped onto any field of a
// row, or chosen through the row's context menu ("Attach Receipt…"), are copied into the receipt
// library at once and the row's list is stored; the same menu opens or removes one. The context
// menu key and Shift+F10 open the menu. A row with receipts shows a mark in its date cell, and its
// date picker's description and tooltip name the files.
#pragma once

#include "receipts/ReceiptLibrary.h"
#include "workbook/model/ExpenseReport.h"

#include <QHash>
#include <QObject>

#include <array>
#include <functional>
#include <vector>

class QMenu;
class QPoint;
class QWidget;
class RowDateBox;
class RowDatePicker;

class RowReceipts : public QObject {
    Q_OBJECT
public:
    // Writes a value to the settings store, as every other edit of the window is written.
    using StoreWrite = std::function<void(const QString& key, const QString& value)>;

    RowReceipts(QWidget* window, StoreWrite store);

    // The row's controls: a drop or a context menu on any of them, or on their inner parts, is the row's.
    void addRow(int row, RowDateBox* box, RowDatePicker* picker, const std::vector<QWidget*>& fields);

    // The row's list from its stored text, without writing it back; text that names no library
    // copies leaves the row without receipts and the store as it was.
    void restore(int row, const QString& stored);

    const QList<StoredReceipt>& of(int row) const { return m_lists[size_t(row)]; }
    // The row's receipts as the hand-in reads them: the library copies under their own names.
    QList<ReceiptFile> files(int row) const;

    // Every file is kept, or none: a file that is no receipt is named in a message box and nothing
    // of the attempt is stored.
    void attach(int row, const QStringList& paths);
    void remove(int row, qsizetype index);
    void open(int row, qsizetype index);

    // The row's menu for the field, popped up at the global position.
    QMenu* showMenu(int row, QWidget* field, const QPoint& at);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void store(int row);
    void showState(int row);
    std::vector<QList<StoredReceipt>> allLists() const;

    QWidget* m_window;
    StoreWrite m_store;
    std::array<QList<StoredReceipt>, kGridRows> m_lists;
    std::array<RowDateBox*, kGridRows> m_boxes{};
    std::array<RowDatePicker*, kGridRows> m_pickers{};
    // The row of each watched control, found without a lookup by name on every event it sees.
    QHash<const QObject*, int> m_rowOf;
};
