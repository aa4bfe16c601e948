// Receipts in the entry window, through its widgets: files dropped onto any field of a row, the
// row's context menu by keyboard (Shift+F10 or the menu key: attach, open, remove), the mark and
// the description a row with receipts shows, files that are no receipts refused by name with
// nothing stored, and the lists surviving a restart, a deleted original and the sample data.
#include "EntryWindowFixture.h"
#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptLibrary.h"
#include "ReceiptDialog.h"
#include "RowDateBox.h"
#include "RowDatePicker.h"
#include "RowReceipts.h"
#include "support/ReceiptFiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {

// Where QDesktopServices sends the files the window opens.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class Form1Receipts : public EntryWindowTest {
protected:
    void SetUp() override {
        EntryWindowTest::SetUp();
        ASSERT_TRUE(data.isValid() && originals.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
    }
    void TearDown() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        SetReceiptDialogHandler({});
        EntryWindowTest::TearDown();
        qunsetenv("XDG_DATA_HOME");
    }

    QString original(const QString& name, const QByteArray& bytes) {
        return WriteReceipt(originals.filePath(name), bytes);
    }
    // Drags the files onto the widget and drops them, as a file manager does.
    static bool drop(QWidget* target, const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }
    // Opens the focused field's context menu with the keys and chooses the entry by keyboard.
    static void choose(QWidget* field, const QString& entry, QKeyCombination keys = Qt::SHIFT | Qt::Key_F10) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, keys.key(), keys.keyboardModifiers());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no context menu opened";
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == entry) chosen = action;
        ASSERT_NE(chosen, nullptr) << entry.toStdString() << " is not in the menu";
        // Down from the top to the entry, as a user would step there.
        while (menu->activeAction() != chosen) QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    QStringList library() const {
        return QDir(ReceiptLibraryFolder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    static bool marked(Form1& f, int row) {
        return static_cast<RowDateBox*>(f.Picture3[size_t(row)])->receiptMarkShown();
    }
    QString refusal() const {
        for (const MessageRequest& box : boxes)
            if (box.text.startsWith(QStringLiteral("Nothing was attached"))) return box.text;
        return {};
    }

    QTemporaryDir data;
    QTemporaryDir originals;
    OpenedUrls opened;
};

TEST_F(Form1Receipts, FilesDroppedOntoAnyFieldOfARowAreKeptAndStoredInOrder) {
    Form1& f = open();
    const QString photo = original(QStringLiteral("taxi.jpg"), JpegPhoto({200, 150}));
    const QString bill = original(QStringLiteral("hotel & spa.pdf"), PdfWithPages({QStringLiteral("Hotel bill")}));
    const QString meals = f.txtMeals[2]->text();
    std::vector<std::pair<QWidget*, QRect>> geometry;
    for (QWidget* widget : f.findChildren<QWidget*>()) geometry.emplace_back(widget, widget->geometry());

    ASSERT_TRUE(drop(f.txtMeals[2], {photo, bill}));
    ASSERT_TRUE(drop(f.DTPicker2[5]->textField(), {bill}));

    const QList<StoredReceipt> row2 = f.receipts().of(2);
    ASSERT_EQ(row2.size(), 2);
    EXPECT_EQ(row2[0].name, QStringLiteral("taxi.jpg"));
    EXPECT_EQ(row2[1].name, QStringLiteral("hotel & spa.pdf"));
    EXPECT_EQ(store.get(QStringLiteral("Receipts2")), StoredReceiptsText(row2));
    EXPECT_EQ(store.get(QStringLiteral("Receipts5")), StoredReceiptsText({row2[1]}));
    EXPECT_EQ(store.get(QStringLiteral("Receipts3")), QStringLiteral("<none>"));
    EXPECT_EQ(library().size(), 2) << "one copy of each content";
    EXPECT_EQ(f.txtMeals[2]->text(), meals) << "the drop is no text";

    EXPECT_TRUE(marked(f, 2));
    EXPECT_TRUE(marked(f, 5));
    EXPECT_FALSE(marked(f, 3));
    EXPECT_TRUE(f.DTPicker2[2]->accessibleDescription().startsWith(
        QStringLiteral("2 receipts attached: taxi.jpg, hotel & spa.pdf.")))
        << f.DTPicker2[2]->accessibleDescription().toStdString();
    EXPECT_EQ(f.DTPicker2[5]->toolTip(), QStringLiteral("1 receipt attached: hotel & spa.pdf."));
    EXPECT_TRUE(f.DTPicker2[3]->toolTip().isEmpty());
    for (const auto& [widget, rect] : geometry)
        EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString() << " moved";

    const ExpenseReport report = f.report();
    ASSERT_EQ(report.rows[2].receipts.size(), 2);
    EXPECT_EQ(report.rows[2].receipts[0].name, QStringLiteral("taxi.jpg"));
    EXPECT_EQ(report.rows[2].receipts[0].path, ReceiptCopyPath(row2[0].copy));
}

TEST_F(Form1Receipts, AFileThatIsNoReceiptIsRefusedByNameAndNothingOfTheDropIsStored) {
    Form1& f = open();
    const QString good = original(QStringLiteral("good.png"), ImageIn("png", {40, 40}));
    QByteArray cut = JpegPhoto({200, 150});
    cut.chop(cut.size() / 2);
    const std::vector<std::pair<QString, QByteArray>> bad{{QStringLiteral("empty.pdf"), {}},
                                                          {QStringLiteral("cut.jpg"), cut},
                                                          {QStringLiteral("notes.txt"), "just text"},
                                                          {QStringLiteral("damaged.pdf"), "%PDF-1.4\nnothing"}};
    for (const auto& [name, bytes] : bad) {
        SCOPED_TRACE(name.toStdString());
        boxes.clear();
        EXPECT_TRUE(drop(f.txtAccount[0], {good, original(name, bytes)}));
        EXPECT_TRUE(refusal().contains(QDir::toNativeSeparators(originals.filePath(name)))) << refusal().toStdString();
        EXPECT_FALSE(refusal().contains(QStringLiteral("good.png")));
        EXPECT_TRUE(f.receipts().of(0).isEmpty());
        EXPECT_EQ(store.get(QStringLiteral("Receipts0")), QStringLiteral("<none>"));
        EXPECT_TRUE(library().isEmpty()) << "the good file's copy went again";
        EXPECT_FALSE(marked(f, 0));
    }
    boxes.clear();
    EXPECT_TRUE(drop(f.txtAccount[0], {originals.filePath(QStringLiteral("missing.jpg"))}));
    EXPECT_TRUE(refusal().contains(QStringLiteral("missing.jpg does not exist"))) << refusal().toStdString();
}

TEST_F(Form1Receipts, TheContextMenuByKeyboardAttachesOpensAndRemoves) {
    Form1& f = open();
    const QString photo = original(QStringLiteral("lunch.jpg"), JpegPhoto({120, 90}));
    QStringList chosenFor;
    SetReceiptDialogHandler([&](QWidget* parent) {
        chosenFor << parent->objectName();
        return QStringList{photo};
    });

    choose(f.txtDesc[3], QStringLiteral("Attach Receipt\u2026"));
    EXPECT_EQ(chosenFor, QStringList{QStringLiteral("Form1")});
    ASSERT_EQ(f.receipts().of(3).size(), 1);
    EXPECT_TRUE(marked(f, 3));
    // The menu key opens the same menu, on the date cell as on any other field.
    choose(f.DTPicker2[3], QStringLiteral("Open \u201Clunch.jpg\u201D"), Qt::Key_Menu);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls[0], QUrl::fromLocalFile(ReceiptCopyPath(f.receipts().of(3)[0].copy)));
    EXPECT_EQ(f.txtDesc[3]->text(), QString()) << "no key reached the field";

    choose(f.txtHotel[3], QStringLiteral("Remove \u201Clunch.jpg\u201D"), Qt::Key_Menu);
    EXPECT_TRUE(f.receipts().of(3).isEmpty());
    EXPECT_EQ(store.get(QStringLiteral("Receipts3")), QString());
    EXPECT_TRUE(library().isEmpty()) << "no row names the copy any more";
    EXPECT_FALSE(marked(f, 3));
    EXPECT_FALSE(f.DTPicker2[3]->accessibleDescription().contains(QStringLiteral("receipt")));
}

TEST_F(Form1Receipts, ACopyStaysWhileAnotherRowNamesIt) {
    Form1& f = open();
    const QString bill = original(QStringLiteral("shared.pdf"), PdfWithPages({QStringLiteral("Shared")}));
    ASSERT_TRUE(drop(f.txtDesc[0], {bill}));
    ASSERT_TRUE(drop(f.txtDesc[1], {bill}));
    const QString copy = ReceiptCopyPath(f.receipts().of(0)[0].copy);
    f.receipts().remove(0, 0);
    EXPECT_TRUE(QFileInfo::exists(copy));
    f.receipts().remove(1, 0);
    EXPECT_FALSE(QFileInfo::exists(copy));
}

TEST_F(Form1Receipts, ReceiptsComeBackAfterARestartAndOutliveTheirOriginals) {
    const QString photo = original(QStringLiteral("parking.jpg"), JpegPhoto({160, 120}));
    ASSERT_TRUE(drop(open().txtPhone[7], {photo}));
    const QString stored = store.get(QStringLiteral("Receipts7"));
    ASSERT_TRUE(QFile::remove(photo));

    Form1& restarted = open();
    ASSERT_EQ(restarted.receipts().of(7).size(), 1);
    EXPECT_EQ(restarted.receipts().of(7)[0].name, QStringLiteral("parking.jpg"));
    EXPECT_TRUE(marked(restarted, 7));
    EXPECT_EQ(CheckReceiptFile(restarted.report().rows[7].receipts[0].path), ReceiptType::Jpeg);
    EXPECT_EQ(store.get(QStringLiteral("Receipts7")), stored);
    for (int r = 0; r < kGridRows; ++r) {
        if (r == 7) continue;
        EXPECT_EQ(store.get(QStringLiteral("Receipts%1").arg(r)), QStringLiteral("<none>")) << r;
    }
}

TEST_F(Form1Receipts, AnOlderStoreOrAListNamingNoCopiesLoadsWithoutReceipts) {
    store.save(QStringLiteral("txtAccount4"), QStringLiteral("110797"));
    store.save(QStringLiteral("Receipts4"), QStringLiteral("../../etc/passwd:passwd"));
    Form1& f = open();
    EXPECT_EQ(f.txtAccount[4]->text(), QStringLiteral("110797"));
    for (int r = 0; r < kGridRows; ++r) EXPECT_TRUE(f.report().rows[size_t(r)].receipts.isEmpty()) << r;
    EXPECT_EQ(store.get(QStringLiteral("Receipts4")), QStringLiteral("../../etc/passwd:passwd"))
        << "the load writes no list back";
    EXPECT_FALSE(marked(f, 4));
}

TEST_F(Form1Receipts, LoadingTheSampleDataKeepsEveryRowsReceipts) {
    Form1& f = open();
    ASSERT_TRUE(drop(f.txtDesc[0], {original(QStringLiteral("a.png"), ImageIn("png", {30, 30}))}));
    ASSERT_TRUE(drop(f.txtDesc[1], {original(QStringLiteral("b.png"), ImageIn("png", {31, 30}))}));
    const QString row0 = store.get(QStringLiteral("Receipts0"));
    const QString row1 = store.get(QStringLiteral("Receipts1"));
    QTest::mouseClick(f.PushButton7, Qt::LeftButton);
    EXPECT_EQ(f.txtDesc[0]->text(), QStringLiteral("Transport account"));
    EXPECT_EQ(f.receipts().of(0).size(), 1);
    EXPECT_EQ(f.receipts().of(1).size(), 1);
    EXPECT_EQ(store.get(QStringLiteral("Receipts0")), row0);
    EXPECT_EQ(store.get(QStringLiteral("Receipts1")), row1);
    EXPECT_EQ(library().size(), 2);
}

}  // namespace

#include "Form1ReceiptsTest.moc"
