// Saving copies of the result workbook, going back to the entry window and closing the preview.
#include "PreviewFixture.h"
#include "support/FileBytes.h"

#include "PictureBox.h"
#include "SaveDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class Form2Leaving : public PreviewFixture {
protected:
    void SetUp() override {
        PreviewFixture::SetUp();
        workbook = folder.filePath(QStringLiteral("ferrun12345678.xls"));
        Write(workbook, kWorkbookBytes);
        handOver(QuarteredPicture(200, 100), workbook);
    }

    // The dialog answers with the given path; the request is recorded.
    void answerDialogWith(const QString& path) {
        SetSaveDialogHandler([this, path](QWidget*, const QString& title, const QString& filter) {
            dialogTitles << title + QStringLiteral("|") + filter;
            return path;
        });
    }

    void save() { QTest::mouseClick(form->PushButton6, Qt::LeftButton); }

    QString errorText() const {
        for (const MessageRequest& m : messages)
            if (m.title == QStringLiteral("Application Error")) return m.text;
        return {};
    }

    const QByteArray kWorkbookBytes = QByteArrayLiteral("\xD0\xCF\x11\xE0 result workbook").repeated(5000);
    QString workbook;
    QStringList dialogTitles;
};

TEST_F(Form2Leaving, CancelledDialogWritesNothingAndSaysDone) {
    answerDialogWith(QString());
    save();
    EXPECT_EQ(dialogTitles,
              QStringList{QStringLiteral("Save File|Excel Files (*.xls);;PDF Files (*.pdf);;Excel Workbook (*.xlsx)")});
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("ferrun12345678.xls")});
    EXPECT_FALSE(form->mSaving);
}

TEST_F(Form2Leaving, SavesUnderTheChosenNameTwiceIdentically) {
    const QString first = folder.filePath(QStringLiteral("copy one.xls"));
    const QString second = folder.filePath(QStringLiteral("copy two.xls"));
    answerDialogWith(folder.filePath(QStringLiteral("copy one")));
    save();
    answerDialogWith(second);
    save();
    EXPECT_EQ(Contents(first), kWorkbookBytes) << "a name without extension gets the workbook's";
    EXPECT_EQ(Contents(second), kWorkbookBytes);
    EXPECT_TRUE(QFile::exists(workbook)) << "the result stays for further saves";
    EXPECT_EQ(notices(), (QStringList{QStringLiteral("Done."), QStringLiteral("Done.")}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3) << "no temporary file left behind";
}

TEST_F(Form2Leaving, ExistingFileIsReplacedOnlyAfterYes) {
    const QString target = folder.filePath(QStringLiteral("old.xls"));
    Write(target, "old contents");
    answerDialogWith(target);

    answer = kMsgNo;
    save();
    EXPECT_EQ(Contents(target), QByteArray("old contents"));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Are you sure you wish to overwrite ") + target + QStringLiteral(" ?"));
    EXPECT_EQ(messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages[1].text, QStringLiteral("Done."));

    answer = kMsgYes;
    save();
    EXPECT_EQ(Contents(target), kWorkbookBytes);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Leaving, FailedCopyOntoADirectoryReportsAndKeepsIt) {
    const QString target = folder.filePath(QStringLiteral("taken.xls"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.xls")));
    Write(target + QStringLiteral("/inside"), "kept");
    answerDialogWith(target);
    save();
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_TRUE(errorText().contains(QStringLiteral("in Brindlemoor2021/08/31.Form2.PushButton6_Click at line 134")));
    EXPECT_FALSE(notices().contains(QStringLiteral("Done.")));
    EXPECT_EQ(Contents(target + QStringLiteral("/inside")), QByteArray("kept"));
    EXPECT_FALSE(form->mSaving);
}

TEST_F(Form2Leaving, FailedCopyInAReadOnlyFolderLeavesTheOldFile) {
    QDir(folder.path()).mkdir(QStringLiteral("locked"));
    const QString locked = folder.filePath(QStringLiteral("locked"));
    const QString target = locked + QStringLiteral("/old.xls");
    Write(target, "old contents");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    if (access(locked.toLocal8Bit().constData(), W_OK) == 0) {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    answerDialogWith(target);
    save();
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(Contents(target), QByteArray("old contents"));
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_FALSE(notices().contains(QStringLiteral("Done.")));
}

TEST_F(Form2Leaving, ThroughTheUsersOwnLinkTheQuestionNamesTheFileReallyReplaced) {
    const QString real = folder.filePath(QStringLiteral("real.xls"));
    Write(real, "old contents");
    const QString link = folder.filePath(QStringLiteral("link.xls"));
    ASSERT_TRUE(QFile::link(real, link));
    answerDialogWith(link);
    save();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Are you sure you wish to overwrite ") + real + QStringLiteral(" ?"));
    EXPECT_EQ(Contents(real), kWorkbookBytes);
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link stays a link";
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Leaving, ALinkAnotherUserPlantedInASharedFolderIsRefused) {
    const QString real = folder.filePath(QStringLiteral("mine.xls"));
    Write(real, "old contents");
    const QString shared = folder.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    ::chmod(QFile::encodeName(shared).constData(), 01777);
    const QString planted = shared + QStringLiteral("/planted.xls");
    ASSERT_TRUE(QFile::link(real, planted));
    if (::lchown(QFile::encodeName(planted).constData(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root can give a link to another user";
    answerDialogWith(planted);
    save();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("link that belongs to another user")))
        << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains(planted));
    EXPECT_EQ(Contents(real), QByteArray("old contents"));
    EXPECT_FALSE(form->mSaving);
}

TEST_F(Form2Leaving, AFifoIsNotReplaced) {
    const QString fifo = folder.filePath(QStringLiteral("fifo.xls"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    answerDialogWith(fifo);
    save();
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_TRUE(errorText().contains(QStringLiteral("not a regular file"))) << errorText().toStdString();
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST_F(Form2Leaving, MissingResultWorkbookCreatesNothing) {
    QFile::remove(workbook);
    const QString target = folder.filePath(QStringLiteral("new.xls"));
    answerDialogWith(target);
    save();
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(form->mSaving);
}

TEST_F(Form2Leaving, SecondPressDuringASaveDoesNothing) {
    int dialogs = 0;
    SetSaveDialogHandler([&](QWidget*, const QString&, const QString&) {
        ++dialogs;
        EXPECT_TRUE(form->mSaving);
        save();
        return QString();
    });
    save();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Done.")});
}

TEST_F(Form2Leaving, BackDeletesTheResultAndShowsTheEntryWindow) {
    QWidget entryWindow;
    entryWindow.setObjectName(QStringLiteral("Form1"));
    QTest::mouseClick(form->PushButton8, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(workbook));
    EXPECT_TRUE(entryWindow.isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(programEnds, 0);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(Form2Leaving, ClosingDeletesTheResultAndEndsTheProgram) {
    form->close();
    EXPECT_FALSE(QFile::exists(workbook));
    EXPECT_EQ(programEnds, 1);
}

TEST(Form2Instance, IsCreatedOnceAndNamedForm2) {
    Form2& form = Form2::instance();
    EXPECT_EQ(&form, &Form2::instance());
    EXPECT_EQ(form.objectName(), QStringLiteral("Form2"));
    EXPECT_FALSE(form.isVisible());
}
