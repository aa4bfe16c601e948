// What programs killed outright left in the scratch folder is removed by the next start that finds
// no running program there, and only the files a run makes.
#include "support/FileBytes.h"
#include "workbook/generation/ScratchFolderClaim.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList Listing(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

TEST(ScratchFolderClaim, AStartAloneRemovesWhatRunsLeftAndAStartBesideARunningProgramRemovesNothing) {
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath(QStringLiteral("mine.xls"));
    Write(outside, "the user's own file");
    const auto plant = [&] {
        for (const char* name : {"ferrun12345678.xls", "temp.bmp", "template.xlt", ".ferrun98765432.xls.Xa1b2c",
                                 ".temp.bmp.Qr5t6y", "ferrun1234567.xls", "ferrun02345678.xls", "notes.txt"})
            Write(folder.filePath(QString::fromLatin1(name)), "left behind");
        QFile::link(outside, folder.filePath(QStringLiteral("ferrun11111111.xls")));
        QDir(folder.path()).mkdir(QStringLiteral("ferrun22222222.xls"));
    };
    const QStringList kept{QStringLiteral("ferrun02345678.xls"), QStringLiteral("ferrun11111111.xls"),
                           QStringLiteral("ferrun1234567.xls"), QStringLiteral("ferrun22222222.xls"),
                           QStringLiteral("notes.txt")};
    plant();
    auto running = std::make_unique<ScratchFolderClaim>(folder.path());
    EXPECT_EQ(Listing(folder.path()), kept) << "links, folders and names no run makes stay";
    EXPECT_EQ(Contents(outside), QByteArray("the user's own file"));

    plant();
    const QStringList planted = Listing(folder.path());
    { const ScratchFolderClaim beside(folder.path()); }
    EXPECT_EQ(Listing(folder.path()), planted) << "a running program's files are its own";

    running.reset();
    const ScratchFolderClaim next(folder.path());
    EXPECT_EQ(Listing(folder.path()), kept);
}

}  // namespace
