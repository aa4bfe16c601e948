#include "RowReceipts.h"

#include "app/AppTitle.h"
#include "app/MessageService.h"
#include "receipts/ReceiptError.h"
#include "ReceiptDialog.h"
#include "RowDateBox.h"
#include "RowDatePicker.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

// The local files a drag carries, or nothing when it carries anything else.
QStringList DroppedFiles(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        paths << url.toLocalFile();
    }
    return paths;
}

// The events a row's receipts answer; a field sees many others, which pass untouched.
bool ConcernsReceipts(QEvent::Type type) {
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop ||
           type == QEvent::ContextMenu || type == QEvent::KeyPress;
}

bool OpensMenu(const QKeyEvent* key) {
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

// A menu entry's text shows '&' as itself rather than as a shortcut mark.
QString MenuText(const QString& verb, const QString& name) {
    return verb + QStringLiteral(" \u201C") + QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")) +
           QStringLiteral("\u201D");
}

QString ReceiptNote(const QList<StoredReceipt>& receipts) {
    if (receipts.isEmpty()) return {};
    QStringList names;
    for (const StoredReceipt& receipt : receipts) names << receipt.name;
    const QString count =
        receipts.size() == 1 ? QStringLiteral("1 receipt") : QStringLiteral("%1 receipts").arg(receipts.size());
    return QStringLiteral("%1 attached: %2.").arg(count, names.join(QStringLiteral(", ")));
}

void Refuse(const QString& text) { ShowMessage({AppTitle(), text, MsgIcon::Exclamation, MsgButtons::Ok}); }

}  // namespace

RowReceipts::RowReceipts(QWidget* window, StoreWrite store)
    : QObject(window), m_window(window), m_store(std::move(store)) {}

void RowReceipts::addRow(int row, RowDateBox* box, RowDatePicker* picker, const std::vector<QWidget*>& fields) {
    m_boxes[size_t(row)] = box;
    m_pickers[size_t(row)] = picker;
    std::vector<QWidget*> watched{picker, picker->textField(), picker->checkBox()};
    watched.insert(watched.end(), fields.begin(), fields.end());
    for (QWidget* widget : watched) {
        m_rowOf.insert(widget, row);
        widget->setAcceptDrops(true);
        widget->installEventFilter(this);
    }
}

void RowReceipts::restore(int row, const QString& stored) {
    m_lists[size_t(row)] = ParseStoredReceipts(stored).value_or(QList<StoredReceipt>{});
    showState(row);
}

QList<ReceiptFile> RowReceipts::files(int row) const {
    QList<ReceiptFile> files;
    for (const StoredReceipt& receipt : of(row)) files.append({ReceiptCopyPath(receipt.copy), receipt.name});
    return files;
}

void RowReceipts::attach(int row, const QStringList& paths) {
    QList<StoredReceipt> added;
    QStringList refused;
    for (const QString& path : paths) {
        try {
            added.append(AddToLibrary(path));
        } catch (const ReceiptError& failure) {
            refused << QString::fromStdString(failure.what());
        }
    }
    if (!refused.isEmpty()) {
        // Copies this attempt made go again; one that a row already names stays.
        for (const StoredReceipt& receipt : added) DeleteCopyUnlessNamed(receipt.copy, allLists());
        Refuse(QStringLiteral("Nothing was attached to row %1:\r\n").arg(row + 1) +
               refused.join(QStringLiteral("\r\n")));
        return;
    }
    if (added.isEmpty()) return;
    m_lists[size_t(row)] += added;
    store(row);
    showState(row);
}

void RowReceipts::remove(int row, qsizetype index) {
    const StoredReceipt gone = m_lists[size_t(row)].takeAt(index);
    // Stored before the copy goes: an end in between leaves a copy too many, never a list naming none.
    store(row);
    DeleteCopyUnlessNamed(gone.copy, allLists());
    showState(row);
}

void RowReceipts::open(int row, qsizetype index) {
    const StoredReceipt& receipt = of(row)[index];
    const QString copy = ReceiptCopyPath(receipt.copy);
    if (!QFileInfo(copy).isFile())
        return Refuse(QStringLiteral("%1 cannot be opened: its kept copy %2 is missing.")
                          .arg(receipt.name, QDir::toNativeSeparators(copy)));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(copy)))
        Refuse(QStringLiteral("%1 cannot be opened: no program for it was found.").arg(receipt.name));
}

QMenu* RowReceipts::showMenu(int row, QWidget* field, const QPoint& at) {
    auto* edit = qobject_cast<QLineEdit*>(field);
    QMenu* menu = edit ? edit->createStandardContextMenu() : new QMenu(field);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!menu->isEmpty()) menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Attach Receipt\u2026")), &QAction::triggered, this,
            [this, row] { attach(row, ShowReceiptDialog(m_window)); });
    const QList<StoredReceipt>& receipts = of(row);
    if (!receipts.isEmpty()) menu->addSeparator();
    for (qsizetype i = 0; i < receipts.size(); ++i)
        connect(menu->addAction(MenuText(QStringLiteral("Open"), receipts[i].name)), &QAction::triggered, this,
                [this, row, i] { open(row, i); });
    for (qsizetype i = 0; i < receipts.size(); ++i)
        connect(menu->addAction(MenuText(QStringLiteral("Remove"), receipts[i].name)), &QAction::triggered, this,
                [this, row, i] { remove(row, i); });
    menu->popup(at);
    return menu;
}

bool RowReceipts::eventFilter(QObject* watched, QEvent* event) {
    if (!ConcernsReceipts(event->type())) return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto found = m_rowOf.constFind(watched);
    if (!widget || found == m_rowOf.constEnd()) return QObject::eventFilter(watched, event);
    const int row = found.value();
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedFiles(drag->mimeData()).isEmpty()) break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = DroppedFiles(drop->mimeData());
        if (paths.isEmpty()) break;
        drop->acceptProposedAction();
        attach(row, paths);
        return true;
    }
    case QEvent::ContextMenu: showMenu(row, widget, static_cast<QContextMenuEvent*>(event)->globalPos()); return true;
    case QEvent::KeyPress:
        if (!OpensMenu(static_cast<QKeyEvent*>(event))) break;
        showMenu(row, widget, widget->mapToGlobal(widget->rect().center()));
        return true;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void RowReceipts::store(int row) { m_store(ReceiptsKey(row), StoredReceiptsText(of(row))); }

void RowReceipts::showState(int row) {
    const bool any = !of(row).isEmpty();
    if (m_boxes[size_t(row)]) m_boxes[size_t(row)]->showReceiptMark(any);
    if (m_pickers[size_t(row)]) m_pickers[size_t(row)]->setReceiptNote(ReceiptNote(of(row)));
}

std::vector<QList<StoredReceipt>> RowReceipts::allLists() const { return {m_lists.begin(), m_lists.end()}; }
