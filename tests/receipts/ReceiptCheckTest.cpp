// A receipt is judged by its content: every type is taken whatever its name, and a file that is
// empty, cut short, damaged, encrypted or of another type is refused, naming it and what is wrong.
#include "receipts/JpegStructure.h"
#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptError.h"
#include "support/FileBytes.h"
#include "support/ReceiptFiles.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ReceiptCheck : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes) { return WriteReceipt(folder.filePath(name), bytes); }

    // The refusal's text, or an empty text when the file was taken.
    static QString refusal(const QString& path) {
        try {
            CheckReceiptFile(path);
        } catch (const ReceiptError& refused) {
            EXPECT_EQ(refused.file(), QDir::toNativeSeparators(path));
            return QString::fromStdString(refused.what());
        }
        return {};
    }

    QTemporaryDir folder;
};

TEST_F(ReceiptCheck, EveryTypeIsTakenByItsContentWhateverItsName) {
    const QSize size(120, 90);
    EXPECT_EQ(CheckReceiptFile(file(QStringLiteral("photo.png"), JpegPhoto(size))), ReceiptType::Jpeg);
    EXPECT_EQ(CheckReceiptFile(file(QStringLiteral("scan"), ImageIn("png", size))), ReceiptType::Png);
    EXPECT_EQ(CheckReceiptFile(file(QStringLiteral("a.webp"), ImageIn("webp", size))), ReceiptType::WebP);
    EXPECT_EQ(CheckReceiptFile(file(QStringLiteral("a.tif"), ImageIn("tiff", size))), ReceiptType::Tiff);
    EXPECT_EQ(CheckReceiptFile(file(QStringLiteral("bill.jpg"), PdfWithPages({QStringLiteral("Bill")}))),
              ReceiptType::Pdf);
}

TEST_F(ReceiptCheck, FilesThatAreNoWholeReceiptAreRefusedSayingWhy) {
    const QByteArray jpeg = JpegPhoto({400, 300});
    const QByteArray pdf = PdfWithPages({QStringLiteral("Bill page one"), QStringLiteral("Bill page two")});
    QByteArray damagedPdf = pdf;
    // The middle of the first page's compressed drawing.
    const qsizetype stream = damagedPdf.indexOf("stream\n") + 7;
    for (qsizetype i = stream + 8; i < stream + 40; ++i) damagedPdf[i] = char(0x5A);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"empty.jpg", {}, "is empty"},
        {"notes.pdf", "Taxi, 12 dollars\n", "is not a PDF, JPEG, PNG, WebP, TIFF or HEIC file"},
        {"cut.jpg", jpeg.left(jpeg.size() / 2), "is a truncated or damaged JPEG image"},
        {"cut.png", ImageIn("png", {400, 300}).chopped(200), "is a truncated or damaged PNG image"},
        {"cut.pdf", pdf.left(pdf.size() * 2 / 3), "is a damaged PDF"},
        {"spoilt.pdf", damagedPdf, "is a damaged PDF"},
    };
    for (const auto& broken : cases) {
        const QString path = file(QLatin1String(broken.name), broken.bytes);
        const QString said = refusal(path);
        EXPECT_TRUE(said.startsWith(QDir::toNativeSeparators(path) + QLatin1Char(' ') + QLatin1String(broken.says)))
            << broken.name << ": " << said.toStdString();
    }
    EXPECT_TRUE(refusal(folder.filePath(QStringLiteral("gone.jpg"))).endsWith(QLatin1String(" does not exist")));
    EXPECT_TRUE(refusal(folder.path()).endsWith(QLatin1String(" is not a regular file")));
}

TEST_F(ReceiptCheck, AnEncryptedPdfIsRefused) {
    if (QStandardPaths::findExecutable(QStringLiteral("qpdf")).isEmpty())
        GTEST_SKIP() << "qpdf is not installed (./do test installs it)";
    const QString plain = file(QStringLiteral("plain.pdf"), PdfWithPages({QStringLiteral("Bill")}));
    const QString locked = folder.filePath(QStringLiteral("locked.pdf"));
    const QString ownerOnly = folder.filePath(QStringLiteral("owner-only.pdf"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("qpdf"), {"--encrypt", "user", "owner", "256", "--", plain, locked}), 0);
    ASSERT_EQ(QProcess::execute(QStringLiteral("qpdf"), {"--encrypt", "", "owner", "256", "--", plain, ownerOnly}), 0);
    EXPECT_TRUE(refusal(locked).endsWith(QLatin1String(" is an encrypted PDF")));
    EXPECT_TRUE(refusal(ownerOnly).endsWith(QLatin1String(" is an encrypted PDF")))
        << "it opens, but is still encrypted";
}

TEST_F(ReceiptCheck, HeicIsTakenOnlyWhereAnImagePluginReadsIt) {
    if (QImageReader::supportedImageFormats().contains("heic")) GTEST_SKIP() << "this system reads HEIC images";
    const QByteArray heif = QByteArray(
        "\0\0\0\x18"
        "ftypheic\0\0\0\0mif1heic",
        24);
    EXPECT_TRUE(refusal(file(QStringLiteral("IMG_0001.HEIC"), heif))
                    .endsWith(QLatin1String(" is a HEIC image, which no image reader on this system reads")));
}

TEST(JpegStructureTest, OnlyDataThatReachesItsEndMarkIsWhole) {
    const QByteArray jpeg = JpegPhoto({640, 480});
    const std::optional<JpegStructure> whole = ReadJpegStructure(jpeg);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->width, 640);
    EXPECT_EQ(whole->height, 480);
    EXPECT_EQ(whole->components, 3);
    EXPECT_TRUE(PdfCanCarry(*whole));
    EXPECT_TRUE(ReadJpegStructure(jpeg + QByteArray(300, '\0'))) << "cameras append data after the end mark";
    EXPECT_TRUE(ReadJpegStructure(JpegPhoto({64, 48}, 6))) << "an EXIF block is skipped";
    for (qsizetype cut = 2; cut < jpeg.size(); cut += jpeg.size() / 37)
        EXPECT_FALSE(ReadJpegStructure(jpeg.left(cut))) << "cut at " << cut << " of " << jpeg.size();
    EXPECT_FALSE(ReadJpegStructure(jpeg.chopped(2))) << "only the end mark missing";
}

}  // namespace
