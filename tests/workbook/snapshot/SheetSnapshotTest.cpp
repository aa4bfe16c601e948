// The sheet snapshot: the used range of the active sheet as a picture file and on the clipboard.
#include "SampleReport.h"
#include "TemplateFile.h"
#include "app/MessageService.h"
#include "support/GoldenImage.h"
#include "workbook/CellMap.h"
#include "workbook/host/Application.h"
#include "SheetSnapshot.h"
#include "xls/WorkbookIo.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kGolden = QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/snapshot/golden/sample-report.png");

class SheetSnapshot : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageHandler([this](const MessageRequest& request) {
            boxes << request.text;
            return kMsgOk;
        });
    }
    void TearDown() override { SetMessageHandler({}); }

    std::shared_ptr<host::Workbook> open(const QString& path) {
        application = host::CreateObject(QStringLiteral("Excel.Application"));
        return application->Workbooks().Open(path);
    }
    std::shared_ptr<host::Workbook> openTemplate() { return open(WriteTemplateFile(folder.path())); }
    // A workbook whose only content is a text in each of the given cells.
    std::shared_ptr<host::Workbook> openWithCells(std::initializer_list<xls::CellRef> cells) {
        xls::Workbook book;
        book.sheets.emplace_back().name = "Sheet1";
        for (const xls::CellRef& ref : cells) book.sheets.front().at(ref.row, ref.col).value = std::string("x");
        const std::vector<uint8_t> bytes = xls::writeWorkbook(book);
        const QString path = folder.filePath(QStringLiteral("cells.xls"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        file.close();
        return open(path);
    }
    QString picturePath() const { return folder.filePath(QStringLiteral("temp.bmp")); }

    QTemporaryDir folder;
    std::shared_ptr<host::Application> application;
    QStringList boxes;
};

TEST_F(SheetSnapshot, SampleReportLooksAsCheckedInAndStaysOnTheClipboard) {
    auto book = openTemplate();
    WriteReportCells(*application, SampleReport());
    saveCellsActivesheet(book, picturePath());

    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
    const QImage picture(picturePath());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(1111, 697));  // B1:N29 of the template
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));
    if (UpdateGoldenRequested(picture, kGolden)) GTEST_SKIP() << "golden picture rewritten";
    const QString mismatch = GoldenMismatch(picture, kGolden);
    EXPECT_TRUE(mismatch.isEmpty()) << mismatch.toStdString();
}

TEST_F(SheetSnapshot, UsedRangeEndingInRowOneOrColumnAGivesNoFileAndNoMessage) {
    saveCellsActivesheet(openWithCells({{0, 1}, {0, 4}}), picturePath());  // B1:E1
    EXPECT_FALSE(QFile::exists(picturePath()));
    saveCellsActivesheet(openWithCells({{1, 0}, {6, 0}}), picturePath());  // A2:A7
    EXPECT_FALSE(QFile::exists(picturePath()));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(SheetSnapshot, AFailedClipboardAttemptIsTriedAgainWithoutAMessage) {
    int attempts = 0;
    const QImage offered(8, 8, QImage::Format_RGB32);
    saveCellsActivesheet(openWithCells({{0, 0}, {2, 2}}), picturePath(), [&]() -> std::optional<QImage> {
        if (++attempts == 1) return std::nullopt;
        return offered;
    });
    EXPECT_EQ(attempts, 2);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(QImage(picturePath()).size(), offered.size());
}

// An attempt that hands over a null picture has found none: it is tried again, and a clipboard
// that only ever offers one holds no picture.
TEST(ClipboardPicture, ANullPictureIsNoPictureAndIsTriedAgain) {
    int attempts = 0;
    const QImage offered(8, 8, QImage::Format_RGB32);
    const std::optional<QImage> picture = GetClipboardPicture(0, [&]() -> std::optional<QImage> {
        if (++attempts < 3) return QImage();
        return offered;
    });
    EXPECT_EQ(attempts, 3);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), offered.size());
    EXPECT_FALSE(GetClipboardPicture(0, [] { return std::optional<QImage>(QImage()); }));
}

TEST_F(SheetSnapshot, LinksPlantedAtThePicturesPlaceAreReplacedNeverFollowed) {
    const QImage offered(8, 8, QImage::Format_RGB32);
    const auto attempt = [&]() -> std::optional<QImage> { return offered; };
    const QString victim = folder.filePath(QStringLiteral("victim.txt"));
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    const QString absent = folder.filePath(QStringLiteral("created-through-link.bmp"));
    for (const QString& target : {victim, absent}) {
        QFile::remove(picturePath());
        ASSERT_TRUE(QFile::link(target, picturePath()));
        saveCellsActivesheet(openWithCells({{0, 0}, {2, 2}}), picturePath(), attempt);
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
        EXPECT_FALSE(QFileInfo(picturePath()).isSymLink()) << target.toStdString();
        EXPECT_EQ(QImage(picturePath()).size(), offered.size());
    }
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo::exists(absent));
}

TEST_F(SheetSnapshot, FailuresAreReportedWithTheirStatementNumbers) {
    int attempts = 0;
    saveCellsActivesheet(openWithCells({{0, 0}, {2, 2}}), picturePath(), [&]() -> std::optional<QImage> {
        ++attempts;
        return std::nullopt;
    });
    EXPECT_EQ(attempts, kClipboardAttempts);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("Excel1.saveCellsActivesheet at line 112")));
    EXPECT_FALSE(QFile::exists(picturePath()));

    boxes.clear();
    saveCellsActivesheet(nullptr, picturePath());
    ASSERT_EQ(boxes.size(), 3);  // 100, 102 and 104; the test at 106 then ends it
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("at line 100")));
    EXPECT_TRUE(boxes[2].contains(QStringLiteral("at line 104")));
}

}  // namespace
