// The entry window's receipts are copies in the user's data folder, named by their content and
// private to the user; a copy goes when no row names it; a row's list survives the store's text.
#include "receipts/ReceiptLibrary.h"
#include "receipts/ReceiptError.h"
#include "support/FileBytes.h"
#include "support/ReceiptFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

namespace {

class ReceiptLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    static int modeOf(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
    }

    QTemporaryDir home;
};

TEST_F(ReceiptLibrary, AnAttachedFileIsCopiedOnceByItsContentForTheUserAlone) {
    const QByteArray photo = JpegPhoto({200, 150});
    const QString original = WriteReceipt(home.filePath(QStringLiteral("Taxi: airport.jpg")), photo);
    const StoredReceipt stored = AddToLibrary(original);
    EXPECT_EQ(stored.copy, QString::fromLatin1(QCryptographicHash::hash(photo, QCryptographicHash::Sha256).toHex()) +
                               QStringLiteral(".jpg"));
    EXPECT_EQ(stored.name, QStringLiteral("Taxi: airport.jpg"));
    EXPECT_EQ(ReceiptLibraryFolder(), home.filePath(QStringLiteral("data/brindlemoor/receipts")));

    ASSERT_TRUE(QFile::remove(original));
    EXPECT_EQ(Contents(ReceiptCopyPath(stored.copy)), photo) << "the copy does not depend on the original";
    EXPECT_EQ(modeOf(ReceiptCopyPath(stored.copy)), 0600);
    EXPECT_EQ(modeOf(ReceiptLibraryFolder()), 0700);
    EXPECT_EQ(modeOf(home.filePath(QStringLiteral("data/brindlemoor"))), 0700);

    ASSERT_EQ(::chmod(QFile::encodeName(ReceiptLibraryFolder()).constData(), 0755), 0);
    const StoredReceipt again = AddToLibrary(WriteReceipt(home.filePath(QStringLiteral("same.jpg")), photo));
    EXPECT_EQ(again.copy, stored.copy);
    EXPECT_EQ(again.name, QStringLiteral("same.jpg"));
    EXPECT_EQ(QDir(ReceiptLibraryFolder()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "nothing left over";
    EXPECT_EQ(modeOf(ReceiptLibraryFolder()), 0700) << "a folder opened wider is made private again";
}

TEST_F(ReceiptLibrary, NothingIsCopiedOfAFileThatIsNoReceipt) {
    EXPECT_THROW(AddToLibrary(WriteReceipt(home.filePath(QStringLiteral("a.jpg")), "not a photo")), ReceiptError);
    EXPECT_FALSE(QFileInfo::exists(ReceiptLibraryFolder()) &&
                 !QDir(ReceiptLibraryFolder()).isEmpty(QDir::Files | QDir::Hidden));
}

TEST_F(ReceiptLibrary, ALinkWhereTheFolderShouldBeIsNotFollowed) {
    const QString elsewhere = home.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("data/brindlemoor"))));
    ASSERT_TRUE(QFile::link(elsewhere, ReceiptLibraryFolder()));
    EXPECT_THROW(AddToLibrary(WriteReceipt(home.filePath(QStringLiteral("a.png")), ImageIn("png", {20, 20}))),
                 std::runtime_error);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

// The batch front end ends with bad input for the one and a failed write for the other.
TEST_F(ReceiptLibrary, ARefusedFileAndALibraryThatCannotBeWrittenAreToldApart) {
    const auto failure = [](const QString& path) {
        try {
            AddToLibrary(path);
        } catch (const ReceiptError& error) {
            return std::optional<ReceiptError>(error);
        }
        return std::optional<ReceiptError>();
    };
    const std::optional<ReceiptError> refused =
        failure(WriteReceipt(home.filePath(QStringLiteral("a.jpg")), "not a photo"));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->cause(), ReceiptError::Cause::Refused);
    EXPECT_FALSE(refused->reason().isEmpty());

    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("elsewhere"))));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("data/brindlemoor"))));
    ASSERT_TRUE(QFile::link(home.filePath(QStringLiteral("elsewhere")), ReceiptLibraryFolder()));
    const std::optional<ReceiptError> notKept =
        failure(WriteReceipt(home.filePath(QStringLiteral("b.png")), ImageIn("png", {20, 20})));
    ASSERT_TRUE(notKept);
    EXPECT_EQ(notKept->cause(), ReceiptError::Cause::NotMade);
    EXPECT_TRUE(notKept->file().isEmpty());
    EXPECT_TRUE(QString::fromUtf8(notKept->what())
                    .startsWith(QStringLiteral("The receipt could not be kept in %1: ")
                                    .arg(QDir::toNativeSeparators(ReceiptLibraryFolder()))));
}

TEST_F(ReceiptLibrary, ACopyGoesOnlyWhenNoRowNamesItAnyMore) {
    const StoredReceipt stored =
        AddToLibrary(WriteReceipt(home.filePath(QStringLiteral("a.png")), ImageIn("png", {20, 20})));
    const QList<StoredReceipt> row{stored};
    DeleteCopyUnlessNamed(stored.copy, {{}, row, {}});
    EXPECT_TRUE(QFileInfo::exists(ReceiptCopyPath(stored.copy)));
    DeleteCopyUnlessNamed(stored.copy, {{}, {}, {}});
    EXPECT_FALSE(QFileInfo::exists(ReceiptCopyPath(stored.copy)));
}

TEST(StoredReceiptsTest, ARowsListReadsBackAsItWasAndNothingElseReads) {
    const QString copy = QString(64, QLatin1Char('a')) + QStringLiteral(".pdf");
    const QString other = QString(64, QLatin1Char('0')) + QStringLiteral(".heic");
    const QList<StoredReceipt> list{{copy, QStringLiteral("Hotel: night 1, 2.pdf")}, {other, QStringLiteral(" x ")}};
    EXPECT_EQ(ParseStoredReceipts(StoredReceiptsText(list)), list);
    EXPECT_EQ(ParseStoredReceipts(QString()), QList<StoredReceipt>{});
    for (const QString& bad : {QStringLiteral("../../etc/passwd:x"), QStringLiteral("abc.pdf:a"), copy + "/",
                               copy.toUpper() + ":a", QString(64, 'a') + ".exe:a"})
        EXPECT_FALSE(ParseStoredReceipts(bad)) << bad.toStdString();
}

}  // namespace
