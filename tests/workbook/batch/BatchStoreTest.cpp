// --from-store: the report the entry window last held, from a store written by the window's own
// store code, read without a single change to the store.
#include "BatchProcess.h"

#include "app/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace {

class BatchFromStore : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
        ReloadSettingsLocation();
        store = SettingsFilePath(kSettingsApp);
    }
    void TearDown() override {
        qunsetenv("XDG_CONFIG_HOME");
        ReloadSettingsLocation();
    }

    BatchResult fromStore(const QStringList& more = {}) {
        return run(QStringList{QStringLiteral("--from-store"), QStringLiteral("--xls"), path(QStringLiteral("o.xls"))} +
                   more);
    }

    QString store;
};

TEST_F(BatchFromStore, WritesWhatTheEntryWindowStoredAndLeavesTheStoreUntouched) {
    for (const auto& [key, value] :
         std::initializer_list<std::pair<const char*, const char*>>{{"txtPurpose", "Stored trip"},
                                                                    {"dtpFrom", "2016-11-05"},
                                                                    {"DTPicker20", "2016-11-07"},
                                                                    {"txtHotel0", "$118.74"},
                                                                    {"txtMeals0", "12.5"},
                                                                    {"txtHeading6", "Other"}})
        SaveSetting(kSettingsApp, kSettingsSection, QString::fromLatin1(key), QString::fromLatin1(value));
    const QByteArray before = Contents(store);
    const QDateTime modified = QFileInfo(store).lastModified();
    QFile::setPermissions(store, QFile::ReadOwner);  // a store the user made read-only reads as well
    // Reading the store needs no scratch file: a temporary folder that takes none changes nothing.
    environment.insert(QStringLiteral("TMPDIR"), writeFile(QStringLiteral("not-a-folder"), "x"));

    const BatchResult result = fromStore();
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    const QString workbook = path(QStringLiteral("o.xls"));
    EXPECT_EQ(cellByXlrd(workbook, 3, 2), QStringLiteral("Stored trip"));
    EXPECT_EQ(cellByXlrd(workbook, 3, 12), QStringLiteral("42679.00"));
    EXPECT_EQ(cellByXlrd(workbook, 10, 1), QStringLiteral("42681.00"));
    EXPECT_EQ(cellByXlrd(workbook, 9, 11), QStringLiteral("Other"));
    EXPECT_EQ(cellByXlrd(workbook, 10, 12), QStringLiteral("131.24"));

    EXPECT_EQ(Contents(store), before);
    EXPECT_EQ(QFileInfo(store).lastModified(), modified);
    EXPECT_EQ(QDir(QFileInfo(store).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QFileInfo(store).fileName()});
}

TEST_F(BatchFromStore, AMissingDamagedOrInvalidStoreStopsTheRunAndStaysAsItWas) {
    const BatchResult missing = fromStore();
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.standardError.contains(QStringLiteral("no stored report")))
        << missing.standardError.toStdString();
    EXPECT_FALSE(QFile::exists(store)) << "the store is never created";

    SaveSetting(kSettingsApp, kSettingsSection, QStringLiteral("txtHotel3"), QStringLiteral("lots"));
    const BatchResult invalid = fromStore();
    EXPECT_EQ(invalid.exitCode, 2);
    EXPECT_TRUE(invalid.standardError.contains(QStringLiteral("txtHotel3: \"lots\"")))
        << invalid.standardError.toStdString();

    QFile damaged(store);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    const char bytes[] = "[Brindlemoor]\ntxtPurpose=\xff\xfe\x00";
    damaged.write(bytes, sizeof bytes);
    damaged.close();
    const QByteArray before = Contents(store);
    const BatchResult result = fromStore();
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errorLines(), 1);
    EXPECT_EQ(Contents(store), before) << "a damaged store is not mended by a reader";
    EXPECT_EQ(QDir(QFileInfo(store).absolutePath()).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("o.xls"))));
}

}  // namespace
