#include "app/SettingsStore.h"

#include "RecordedMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const QString kWriterValue = QStringLiteral("typed before the kill: Größe 12a");

QString Get(const QString& key, const QString& defaultValue = QStringLiteral("<default>")) {
    return GetSetting(kSettingsApp, kSettingsSection, key, defaultValue);
}

void Save(const QString& key, const QString& value) {
    SaveSetting(kSettingsApp, kSettingsSection, key, value);
}

// Each test starts from its own empty store.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_config.isValid());
        m_previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        ReloadSettingsLocation();
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", m_previous);
        ReloadSettingsLocation();
    }
    QString storeFile() const { return SettingsFilePath(kSettingsApp); }
    QStringList setAside() const {
        return QDir(m_config.path()).entryList({kSettingsApp + QStringLiteral(".ini.corrupt-*")},
                                               QDir::AllEntries | QDir::Hidden);
    }

    QTemporaryDir m_config;
    QByteArray m_previous;
};

}  // namespace

TEST_F(SettingsStoreTest, NamesMatchWithoutRegardToCase) {
    Save(QStringLiteral("dtpTo"), QStringLiteral("2016-11-05"));
    EXPECT_EQ(Get(QStringLiteral("dtpto")), QStringLiteral("2016-11-05"));
    EXPECT_EQ(GetSetting(kSettingsApp, QStringLiteral("BRINDLEMOOR"), QStringLiteral("DTPTO"), {}),
              QStringLiteral("2016-11-05"));

    Save(QStringLiteral("DTPTO"), QStringLiteral("2016-12-31"));
    EXPECT_EQ(Get(QStringLiteral("dtpTo")), QStringLiteral("2016-12-31"));
    QFile file(storeFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).count(QStringLiteral("dtpto"), Qt::CaseInsensitive), 1)
        << "a second spelling replaces the entry, it does not add one";
}

TEST_F(SettingsStoreTest, EmptyEntryIsNotMissing) {
    EXPECT_EQ(Get(QStringLiteral("txtHeading3"), QStringLiteral("Meals")), QStringLiteral("Meals"));
    Save(QStringLiteral("txtHeading3"), QString());
    EXPECT_EQ(Get(QStringLiteral("txtHeading3"), QStringLiteral("Meals")), QString());
}

TEST_F(SettingsStoreTest, ValuesComeBackExactlyFromDisk) {
    const QStringList values{QStringLiteral("a;b"),        QStringLiteral("=x"),         QStringLiteral("a,b,c"),
                             QStringLiteral("  padded  "), QStringLiteral("\"quoted\""), QStringLiteral("back\\slash\\"),
                             QStringLiteral("line\nbreak\r\nend"), QStringLiteral("@Variant(x)"),
                             QStringLiteral("Größe ÄÖÜ 東京 😀"), QStringLiteral("#not a comment"),
                             QStringLiteral("[section]"), QStringLiteral("tab\there"),
                             QString(5000, QLatin1Char('x'))};
    for (int i = 0; i < values.size(); ++i) Save(QStringLiteral("txtNotes%1").arg(i), values[i]);
    ReloadSettingsLocation();
    for (int i = 0; i < values.size(); ++i) EXPECT_EQ(Get(QStringLiteral("txtNotes%1").arg(i)), values[i]) << i;
}

TEST_F(SettingsStoreTest, DeferredWritesReachTheDiskWhenTheLastScopeEnds) {
    const QString file = m_config.filePath(kSettingsApp + QStringLiteral(".ini"));
    // The file's bytes: another QSettings in this process would share the unsynced cache.
    const auto onDisk = [&file](const QString& key) {
        QFile bytes(file);
        return bytes.open(QIODevice::ReadOnly) && bytes.readAll().contains(key.toUtf8());
    };
    {
        const DeferredSettingsSync outer;
        {
            const DeferredSettingsSync inner;
            Save(QStringLiteral("txtHotel0"), QStringLiteral("$0.00"));
        }
        EXPECT_EQ(Get(QStringLiteral("txtHotel0")), QStringLiteral("$0.00"));
        EXPECT_FALSE(onDisk(QStringLiteral("txtHotel0")));
    }
    EXPECT_TRUE(onDisk(QStringLiteral("txtHotel0")));
    Save(QStringLiteral("txtHotel1"), QStringLiteral("typed"));
    EXPECT_TRUE(onDisk(QStringLiteral("txtHotel1")));
}

TEST_F(SettingsStoreTest, FollowsTheConfigLocation) {
    Save(QStringLiteral("txtName"), QStringLiteral("first"));
    EXPECT_TRUE(QFile::exists(m_config.filePath(kSettingsApp + QStringLiteral(".ini"))));

    QTemporaryDir other;
    qputenv("XDG_CONFIG_HOME", other.path().toLocal8Bit());
    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("<default>"));
}

TEST_F(SettingsStoreTest, FailedWriteThrows) {
    Save(QStringLiteral("txtName"), QStringLiteral("before"));
    // A folder in the file's place cannot be replaced by a file.
    ASSERT_TRUE(QFile::remove(storeFile()));
    ASSERT_TRUE(QDir().mkpath(storeFile() + QStringLiteral("/blocked")));
    EXPECT_THROW(Save(QStringLiteral("txtName"), QStringLiteral("after")), std::runtime_error);
}

TEST_F(SettingsStoreTest, DamagedFileIsSetAsideAndReportedOnce) {
    {
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        static const char damaged[] = "[Brindlemoor]\ntxtName=Ann Lee\ntxtDept=\xff\xfe\x00garbage\n";
        file.write(damaged, sizeof damaged - 1);
    }
    RecordedMessages boxes;
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("Ann Lee")) << "what still reads is kept";
    EXPECT_EQ(Get(QStringLiteral("txtDept")), QStringLiteral("<default>"));
    Save(QStringLiteral("txtPurpose"), QStringLiteral("Trip"));
    EXPECT_EQ(Get(QStringLiteral("txtPurpose")), QStringLiteral("Trip"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(setAside().size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(setAside().value(0)));

    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtPurpose")), QStringLiteral("Trip"));
    EXPECT_EQ(boxes.shown.size(), 1u) << "the mended file raises no second notice";
}

TEST_F(SettingsStoreTest, UnreadableStoreDoesNotStopTheStart) {
    ASSERT_TRUE(QDir().mkpath(storeFile()));
    RecordedMessages boxes;
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("<default>"));
    Save(QStringLiteral("txtName"), QStringLiteral("Ann"));
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("Ann"));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(setAside().size(), 1);
}

// Run only as the child of WriteSurvivesSigkill, on the parent's store.
TEST(SettingsStoreChild, DISABLED_Writer) {
    Save(QStringLiteral("txtNotes1"), kWriterValue);
    fputs("written\n", stdout);
    fflush(stdout);
    QThread::sleep(60);
}

TEST_F(SettingsStoreTest, WriteSurvivesSigkill) {
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QStringLiteral("--gtest_also_run_disabled_tests"),
                        QStringLiteral("--gtest_filter=SettingsStoreChild.DISABLED_Writer")});
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start();
    QByteArray output;
    while (!output.contains("written\n") && child.waitForReadyRead(20000)) output += child.readAllStandardOutput();
    ASSERT_TRUE(output.contains("written\n")) << output.constData();
    child.kill();
    child.waitForFinished();
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtNotes1")), kWriterValue);
}
