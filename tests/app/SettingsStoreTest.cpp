#include "app/SettingsStore.h"
#include "app/StoreSection.h"
#include "support/FileBytes.h"

#include "RecordedMessages.h"
#include "support/OrdinaryUser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <stdexcept>

#include <sys/stat.h>

namespace {

const QString kWriterValue = QStringLiteral("typed before the kill: Größe 12a");

QString Get(const QString& key, const QString& defaultValue = QStringLiteral("<default>")) {
    return GetSetting(kSettingsApp, kSettingsSection, key, defaultValue);
}

void Save(const QString& key, const QString& value) { SaveSetting(kSettingsApp, kSettingsSection, key, value); }

void WriteContents(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList SetAsideBeside(const QString& storeFile) {
    return QFileInfo(storeFile).dir().entryList({QFileInfo(storeFile).fileName() + QStringLiteral(".corrupt-*")},
                                                QDir::AllEntries | QDir::Hidden);
}

// The message of a refused write, or "" when the write went through.
QString RefusalOf(const QString& key, const QString& value) {
    try {
        Save(key, value);
    } catch (const std::runtime_error& refusal) {
        return QString::fromUtf8(refusal.what());
    }
    return {};
}

const QByteArray kSoundStore = "[Brindlemoor]\ntxtName=Ann Lee\ntxtDept=Sales\ntxtHotel0=$12.50\n";

// A store as a hand edit or a bad disk leaves it: every sound key around one damaged line.
QByteArray AroundDamagedLine(const QByteArray& damaged) {
    return "[General]\nTXTPOSITION=Clerk\n[Brindlemoor]\ntxtName=Ann Lee\n" + damaged +
           "\ntxtDept=Sales\ntxtmanager=\"Lee, Bo\"\n[Other]\ntxtName=not this one\ntxtNotes1=from another section\n";
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
    QStringList setAside() const { return SetAsideBeside(storeFile()); }

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
    EXPECT_FALSE(Contents(storeFile()).contains("DTPTO")) << "the entry keeps its first spelling";
    const auto section = ReadSettingsSection(kSettingsApp, kSettingsSection);
    ASSERT_TRUE(section);
    EXPECT_EQ(section->keys(), QStringList{QStringLiteral("dtpto")}) << "a second spelling does not add an entry";
    EXPECT_EQ(section->value(QStringLiteral("dtpto")), QStringLiteral("2016-12-31"));

    // A hand-edited file that spells one name three ways: a change added to it wins when read.
    WriteContents(storeFile(), "[Brindlemoor]\ntxtName=a\nTXTNAME=b\n[brindlemoor]\ntxtName=c\n");
    ReloadSettingsLocation();
    Save(QStringLiteral("txtname"), QStringLiteral("changed"));
    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("TxtName")), QStringLiteral("changed"));
}

TEST_F(SettingsStoreTest, EmptyEntryIsNotMissing) {
    EXPECT_EQ(Get(QStringLiteral("txtHeading3"), QStringLiteral("Meals")), QStringLiteral("Meals"));
    Save(QStringLiteral("txtHeading3"), QString());
    EXPECT_EQ(Get(QStringLiteral("txtHeading3"), QStringLiteral("Meals")), QString());
}

TEST_F(SettingsStoreTest, ValuesComeBackExactlyFromDisk) {
    const QStringList values{QStringLiteral("a;b"),
                             QStringLiteral("=x"),
                             QStringLiteral("a,b,c"),
                             QStringLiteral("  padded  "),
                             QStringLiteral("\"quoted\""),
                             QStringLiteral("back\\slash\\"),
                             QStringLiteral("line\nbreak\r\nend"),
                             QStringLiteral("@Variant(x)"),
                             QStringLiteral("Größe ÄÖÜ 東京 😀"),
                             QStringLiteral("#not a comment"),
                             QStringLiteral("[section]"),
                             QStringLiteral("tab\there"),
                             QString(5000, QLatin1Char('x')),
                             QStringLiteral("\"open"),
                             QStringLiteral("end\\"),
                             QStringLiteral("[Brindlemoor"),
                             QStringLiteral("; comment"),
                             QStringLiteral("="),
                             QStringLiteral("\uFEFFpasted with its mark")};
    for (int i = 0; i < values.size(); ++i) Save(QStringLiteral("txtNotes%1").arg(i), values[i]);
    ReloadSettingsLocation();
    RecordedMessages boxes;
    for (int i = 0; i < values.size(); ++i) EXPECT_EQ(Get(QStringLiteral("txtNotes%1").arg(i)), values[i]) << i;
    EXPECT_TRUE(boxes.shown.empty()) << "a file the store wrote is never taken for damaged";
    EXPECT_TRUE(setAside().isEmpty());
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
    // A file in the store folder's place: even root cannot put the store there.
    ASSERT_TRUE(QDir(m_config.path()).removeRecursively());
    WriteContents(m_config.path(), "not a folder");
    EXPECT_THROW(Save(QStringLiteral("txtName"), QStringLiteral("after")), std::runtime_error);
    ASSERT_TRUE(QFile::remove(m_config.path()));
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

TEST_F(SettingsStoreTest, OneDamagedLineCostsNoOtherKey) {
    const std::vector<QByteArray> damagedLines{
        "[Brind\xffmoor]",                    // a header that is not text
        "[Brindlemoor",                       // a header without its bracket
        "Brindlemoor]",                       // a header without its opening
        "txtPurpose=\"Trip to Berlin",        // a quote left open runs on into the lines below
        "txtPurpose=Trip \\",                 // so does a trailing backslash
        QByteArray("txtPurpose=Tr\0ip", 17),  // a NUL
        "txtPurpose=Caf\xe9",                 // not UTF-8
        "some words",                         // no key
        "=no key"};
    for (const QByteArray& damaged : damagedLines) {
        SCOPED_TRACE(damaged.toStdString());
        const QByteArray original = AroundDamagedLine(damaged);
        WriteContents(storeFile(), original);
        ReloadSettingsLocation();
        RecordedMessages boxes;

        EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("Ann Lee")) << "the own section wins";
        EXPECT_EQ(Get(QStringLiteral("txtDept")), QStringLiteral("Sales"));
        EXPECT_EQ(Get(QStringLiteral("txtManager")), QStringLiteral("Lee, Bo"));
        EXPECT_EQ(Get(QStringLiteral("txtPosition")), QStringLiteral("Clerk"));
        EXPECT_EQ(Get(QStringLiteral("txtNotes1")), QStringLiteral("from another section"));
        EXPECT_EQ(Get(QStringLiteral("txtPurpose")), QStringLiteral("<default>"));
        Save(QStringLiteral("txtPurpose"), QStringLiteral("Trip"));

        ASSERT_EQ(boxes.shown.size(), 1u);
        ASSERT_EQ(setAside().size(), 1);
        EXPECT_TRUE(boxes.shown[0].text.contains(setAside()[0]));
        EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("line 5 is damaged")));
        EXPECT_EQ(Contents(QDir(m_config.path()).filePath(setAside()[0])), original)
            << "the original is kept as it was";

        ReloadSettingsLocation();
        EXPECT_EQ(Get(QStringLiteral("TXTNOTES1")), QStringLiteral("from another section"));
        EXPECT_EQ(Get(QStringLiteral("txtPurpose")), QStringLiteral("Trip"));
        EXPECT_EQ(boxes.shown.size(), 1u) << "the mended file raises no second notice";
        ASSERT_TRUE(QFile::remove(QDir(m_config.path()).filePath(setAside()[0])));
    }
}

TEST_F(SettingsStoreTest, ADamagedHeaderOverEveryKeyCostsNone) {
    const QByteArray original = "[Brind\xffmoor]\ntxtName=Ann Lee\ntxtDept=Sales\nDTPICKER20=2016-11-05\n";
    WriteContents(storeFile(), original);
    RecordedMessages boxes;
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("Ann Lee"));
    EXPECT_EQ(Get(QStringLiteral("txtDept")), QStringLiteral("Sales"));
    EXPECT_EQ(Get(QStringLiteral("DTPicker20")), QStringLiteral("2016-11-05"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    ASSERT_EQ(setAside().size(), 1);
    EXPECT_EQ(Contents(QDir(m_config.path()).filePath(setAside()[0])), original);
}

// Run only as the child of ReadOnlyStoreIsReadAndLeftUntouched, as an ordinary user.
TEST(SettingsStoreChild, DISABLED_ReadOnlyStore) {
    ReloadSettingsLocation();
    const QString file = SettingsFilePath(kSettingsApp);
    const QByteArray before = Contents(file);
    RecordedMessages boxes;
    EXPECT_EQ(Get(QStringLiteral("TXTNAME")), QStringLiteral("Ann Lee"));
    EXPECT_EQ(Get(QStringLiteral("txtHotel0")), QStringLiteral("$12.50"));
    {
        const DeferredSettingsSync load;
        EXPECT_EQ(RefusalOf(QStringLiteral("txtHotel1"), QStringLiteral("$0.00")), QString())
            << "the load's write-backs are not edits";
    }
    for (const QString& typed : {QStringLiteral("B"), QStringLiteral("Bo"), QStringLiteral("Bob")})
        EXPECT_TRUE(RefusalOf(QStringLiteral("txtName"), typed).contains(QStringLiteral("read but not written")));
    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("Ann Lee"));
    EXPECT_TRUE(RefusalOf(QStringLiteral("txtName"), QStringLiteral("Bob")).contains(QStringLiteral("not written")));

    EXPECT_TRUE(boxes.shown.empty()) << "a read-only store is not damaged";
    EXPECT_EQ(Contents(file), before);
    EXPECT_TRUE(SetAsideBeside(file).isEmpty());
}

// Run only as the child of DamagedReadOnlyStoreIsReadAndLeftUntouched, as an ordinary user.
TEST(SettingsStoreChild, DISABLED_DamagedReadOnlyStore) {
    ReloadSettingsLocation();
    const QString file = SettingsFilePath(kSettingsApp);
    const QByteArray before = Contents(file);
    RecordedMessages boxes;
    EXPECT_EQ(Get(QStringLiteral("txtDept")), QStringLiteral("Sales"));
    EXPECT_EQ(Get(QStringLiteral("txtPosition")), QStringLiteral("Clerk"));
    EXPECT_FALSE(RefusalOf(QStringLiteral("txtName"), QStringLiteral("Bob")).isEmpty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("left as it is")));
    EXPECT_EQ(Contents(file), before);
    EXPECT_TRUE(SetAsideBeside(file).isEmpty());
}

// Run only as the child of AStoreThatCannotBeReadIsNeverOverwritten, as an ordinary user.
TEST(SettingsStoreChild, DISABLED_UnreadableStore) {
    ReloadSettingsLocation();
    RecordedMessages boxes;
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("<default>"));
    EXPECT_TRUE(RefusalOf(QStringLiteral("txtName"), QStringLiteral("Bob")).contains(QStringLiteral("cannot be read")));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(SetAsideBeside(SettingsFilePath(kSettingsApp)).isEmpty());
}

// Run only as the child of AStoreMadeReadOnlyWhileOpenIsNotTakenForDamaged, as an ordinary user.
TEST(SettingsStoreChild, DISABLED_MadeReadOnlyWhileOpen) {
    ReloadSettingsLocation();
    const QString file = SettingsFilePath(kSettingsApp);
    RecordedMessages boxes;
    Save(QStringLiteral("txtName"), QStringLiteral("Ann"));
    const QByteArray stored = Contents(file);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    for (const QString& typed : {QStringLiteral("B"), QStringLiteral("Bo"), QStringLiteral("Bob")})
        EXPECT_FALSE(RefusalOf(QStringLiteral("txtName"), typed).isEmpty()) << typed.toStdString();
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text.toStdString();
    EXPECT_EQ(Contents(file), stored);
    EXPECT_TRUE(SetAsideBeside(file).isEmpty());
}

// Where permissions bind: the store is read by an ordinary user who cannot write it.
class ReadOnlyStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto found = FindOrdinaryUser();
        if (!found) GTEST_SKIP() << "needs an ordinary (non-root) user who can run this executable; none could be had";
        user = *found;
        ASSERT_TRUE(GiveTo(config.path(), user));
    }
    // Writes the store file, owned by the user unless another owner is asked for.
    void plant(const QByteArray& bytes, mode_t mode, std::optional<uid_t> owner = std::nullopt) {
        WriteContents(file(), bytes);
        ASSERT_EQ(::chown(QFile::encodeName(file()).constData(), owner.value_or(user.uid), user.gid), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(file()).constData(), mode), 0);
    }
    ::testing::AssertionResult runChild(const QString& name) {
        QProcessEnvironment extra;
        extra.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        return RunAsOrdinaryUser(user, QStringLiteral("SettingsStoreChild.DISABLED_") + name, extra);
    }
    QString file() const { return config.filePath(kSettingsApp + QStringLiteral(".ini")); }

    OrdinaryUser user;
    QTemporaryDir config;
};

TEST_F(ReadOnlyStoreTest, ReadOnlyStoreIsReadAndLeftUntouched) {
    plant(kSoundStore, 0444);
    EXPECT_TRUE(runChild(QStringLiteral("ReadOnlyStore"))) << "made read-only by its owner";

    plant(kSoundStore, 0644);
    ASSERT_EQ(::chmod(QFile::encodeName(config.path()).constData(), 0555), 0);
    EXPECT_TRUE(runChild(QStringLiteral("ReadOnlyStore"))) << "in a folder that takes no new files";
    ASSERT_EQ(::chmod(QFile::encodeName(config.path()).constData(), 0700), 0);

    if (::getuid() != 0) GTEST_SKIP() << "a file owned by another user needs root to set up";
    plant(kSoundStore, 0644, 0);
    EXPECT_TRUE(runChild(QStringLiteral("ReadOnlyStore"))) << "owned by another user and readable";
}

TEST_F(ReadOnlyStoreTest, DamagedReadOnlyStoreIsReadAndLeftUntouched) {
    plant(AroundDamagedLine("[Brind\xffmoor]"), 0444);
    EXPECT_TRUE(runChild(QStringLiteral("DamagedReadOnlyStore")));
}

TEST_F(ReadOnlyStoreTest, AStoreThatCannotBeReadIsNeverOverwritten) {
    plant(kSoundStore, 0200);
    EXPECT_TRUE(runChild(QStringLiteral("UnreadableStore")));
    ASSERT_EQ(::chmod(QFile::encodeName(file()).constData(), 0600), 0);
    EXPECT_EQ(Contents(file()), kSoundStore);
}

TEST_F(ReadOnlyStoreTest, AStoreMadeReadOnlyWhileOpenIsNotTakenForDamaged) {
    EXPECT_TRUE(runChild(QStringLiteral("MadeReadOnlyWhileOpen")));
}

TEST_F(SettingsStoreTest, AWriteCutShortAtTheFileEndLosesOnlyItself) {
    Save(QStringLiteral("txtName"), QStringLiteral("Ann"));
    Save(QStringLiteral("txtDept"), QStringLiteral("Sales"));
    const QByteArray whole = Contents(storeFile());
    // A kill in the middle of adding a change leaves its line unfinished at the file's end.
    for (const QByteArray& cut : {QByteArray("txtName=\"Ann Le"), QByteArray("txtName=\"Gr\xc3"),
                                  QByteArray("txtName=\"Ann\\"), QByteArray("txtName="), QByteArray("[Brindle")}) {
        SCOPED_TRACE(cut.toStdString());
        WriteContents(storeFile(), whole + cut);
        ReloadSettingsLocation();
        RecordedMessages boxes;
        EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("Ann")) << "the value before it stays";
        Save(QStringLiteral("txtPurpose"), QStringLiteral("Trip"));
        EXPECT_TRUE(boxes.shown.empty()) << "an unacknowledged write is not damage";
        EXPECT_TRUE(setAside().isEmpty());
        EXPECT_TRUE(Contents(storeFile()).endsWith("\n"));
        ReloadSettingsLocation();
        EXPECT_EQ(Get(QStringLiteral("txtPurpose")), QStringLiteral("Trip"));
        EXPECT_EQ(Get(QStringLiteral("txtDept")), QStringLiteral("Sales"));
    }
}

TEST_F(SettingsStoreTest, AWriteAddsOnlyWhatItChanges) {
    const QString large(1 << 20, QLatin1Char('n'));
    Save(QStringLiteral("txtNotes1"), large);
    const qint64 before = QFileInfo(storeFile()).size();
    for (const QString& typed : {QStringLiteral("A"), QStringLiteral("An"), QStringLiteral("Ann")})
        Save(QStringLiteral("txtName"), typed);
    EXPECT_LT(QFileInfo(storeFile()).size() - before, 100) << "the large value is not written again";
    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("Ann"));
    EXPECT_EQ(Get(QStringLiteral("txtNotes1")), large);

    // Changes of the large value itself: the file is written whole again once what was added
    // outgrows what it holds.
    for (int i = 0; i < 6; ++i) {
        Save(QStringLiteral("txtNotes1"), large + QString::number(i));
        EXPECT_LT(QFileInfo(storeFile()).size(), 3 * large.size() + (128 << 10)) << i;
    }
    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtNotes1")), large + QStringLiteral("5"));
}

// Another user's link or file where the store is looked for. Run only as the children of
// AStoreAnotherUserPlantedIsNeitherFollowedNorWritten, as the user whose store it is.
TEST(SettingsStoreChild, DISABLED_PlantedLink) {
    ReloadSettingsLocation();
    RecordedMessages boxes;
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("<default>")) << "nothing is read through the link";
    const QString refusal = RefusalOf(QStringLiteral("txtName"), QStringLiteral("Bob"));
    EXPECT_TRUE(refusal.contains(QStringLiteral("belongs to another user")) &&
                refusal.contains(QStringLiteral("not followed")))
        << refusal.toStdString();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(SettingsStoreChild, DISABLED_PlantedFile) {
    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("planted"));
    const QString refusal = RefusalOf(QStringLiteral("txtName"), QStringLiteral("Bob"));
    EXPECT_TRUE(refusal.contains(QStringLiteral("belongs to another user"))) << refusal.toStdString();
}

TEST(SettingsStoreChild, DISABLED_OwnLink) {
    ReloadSettingsLocation();
    EXPECT_EQ(Get(QStringLiteral("txtName")), QStringLiteral("mine"));
    EXPECT_EQ(RefusalOf(QStringLiteral("txtName"), QStringLiteral("Bob")), QString());
}

// A victim whose store folder others can write to, and an attacker who plants a link there to a
// file of the victim's. Accounts of their own: root's permissions would hide the faults.
class PlantedStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::getuid() != 0) GTEST_SKIP() << "needs root to make the attacker's and the victim's accounts";
        const auto found = FindOrdinaryUser();
        attacker = TestAccount("brindlemoor-attacker");
        if (!found || !attacker) GTEST_SKIP() << "the test accounts could not be made";
        victim = *found;
        ASSERT_EQ(::chmod(QFile::encodeName(base.path()).constData(), 0755), 0);
        ASSERT_TRUE(QDir(base.path()).mkdir(QStringLiteral("home")));
        ASSERT_TRUE(GiveTo(home(), victim));
        WriteContents(notes(), "[Brindlemoor]\ntxtName=mine\n");
        ASSERT_TRUE(GiveTo(notes(), victim));
    }
    QString home() const { return base.filePath(QStringLiteral("home")); }
    QString notes() const { return base.filePath(QStringLiteral("home/notes.conf")); }
    // A folder of the given mode and owner, for the victim's store.
    QString folder(const QString& name, mode_t mode, uid_t owner) {
        const QString path = base.filePath(name);
        EXPECT_TRUE(QDir(base.path()).mkdir(name));
        EXPECT_EQ(::chown(QFile::encodeName(path).constData(), owner, owner), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        return path;
    }
    QString plantLink(const QString& folder, uid_t owner) {
        const QString link = folder + QStringLiteral("/Tarrowell.ini");
        EXPECT_TRUE(QFile::link(notes(), link));
        EXPECT_EQ(::lchown(QFile::encodeName(link).constData(), owner, owner), 0);
        return link;
    }
    ::testing::AssertionResult runChild(const QString& name, const QString& config) {
        QProcessEnvironment extra;
        extra.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        return RunAsOrdinaryUser(victim, QStringLiteral("SettingsStoreChild.DISABLED_") + name, extra);
    }

    QTemporaryDir base;
    OrdinaryUser victim;
    std::optional<OrdinaryUser> attacker;
};

TEST_F(PlantedStoreTest, AStoreAnotherUserPlantedIsNeitherFollowedNorWritten) {
    const QByteArray notesBefore = Contents(notes());
    const struct {
        QString name;
        mode_t mode;
        uid_t owner;
    } sharedFolders[] = {{QStringLiteral("sticky"), 01777, 0},
                         {QStringLiteral("everyone"), 0777, 0},
                         {QStringLiteral("attackers"), 0755, attacker->uid}};
    for (const auto& shared : sharedFolders) {
        SCOPED_TRACE(shared.name.toStdString());
        const QString config = folder(shared.name, shared.mode, shared.owner);
        plantLink(config, attacker->uid);
        EXPECT_TRUE(runChild(QStringLiteral("PlantedLink"), config));
        EXPECT_EQ(Contents(notes()), notesBefore);
        EXPECT_EQ(QDir(config).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("Tarrowell.ini")})
            << "nothing is left beside it";
    }

    const QString sticky = folder(QStringLiteral("file"), 01777, 0);
    const QString planted = sticky + QStringLiteral("/Tarrowell.ini");
    const QByteArray plantedStore = "[Brindlemoor]\ntxtName=planted\n";
    WriteContents(planted, plantedStore);
    ASSERT_EQ(::chown(QFile::encodeName(planted).constData(), attacker->uid, attacker->gid), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(planted).constData(), 0666), 0);
    EXPECT_TRUE(runChild(QStringLiteral("PlantedFile"), sticky)) << "another user's file is read, never written";
    EXPECT_EQ(Contents(planted), plantedStore);

    // The victim's own link in a folder of their own is their choice, and is followed.
    plantLink(home(), victim.uid);
    EXPECT_TRUE(runChild(QStringLiteral("OwnLink"), home()));
    EXPECT_TRUE(Contents(notes()).contains("Bob"));
    EXPECT_TRUE(QFileInfo(home() + QStringLiteral("/Tarrowell.ini")).isSymLink());
}
