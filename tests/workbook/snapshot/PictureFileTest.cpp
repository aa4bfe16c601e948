// The picture file the run hands to the preview: read back pixel for pixel at its resolution, while
// other and damaged picture files are left to the general readers.
#include "PictureFile.h"
#include "workbook/snapshot/PictureFileLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage Sample() {
    QImage picture(7, 3, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 30, y * 80, 255 - x - y));
    picture.setDotsPerMeterX(7559);  // 192 dpi
    picture.setDotsPerMeterY(7559);
    return picture;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(PictureFile, ReadsBackWhatItWroteAndOtherReadersAgree) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("temp.bmp"));
    const QImage picture = Sample();
    Write(path, PictureFileBytes(picture));

    const QImage loaded = LoadPictureFile(path);
    EXPECT_EQ(loaded, picture);
    EXPECT_EQ(loaded.format(), QImage::Format_RGB32);
    EXPECT_EQ(loaded.dotsPerMeterX(), picture.dotsPerMeterX());
    const QImage general(path);
    EXPECT_EQ(general.convertToFormat(QImage::Format_RGB32), picture) << "a general bitmap reader sees the same";
    EXPECT_EQ(general.dotsPerMeterY(), picture.dotsPerMeterY());

    // A picture with alpha is stored as the sheet shows it, opaque.
    Write(path, PictureFileBytes(picture.convertToFormat(QImage::Format_ARGB32)));
    EXPECT_EQ(LoadPictureFile(path), picture);
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PictureFile, TheWrittenFileIsTheBytesAndReplacesALinkWithoutFollowingIt) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("temp.bmp"));
    const QString elsewhere = folder.filePath(QStringLiteral("elsewhere.txt"));
    Write(elsewhere, "kept");
    ASSERT_TRUE(QFile::link(elsewhere, path));
    const QImage picture = Sample();
    WritePictureFile(picture, path);
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(Read(path), PictureFileBytes(picture));
    EXPECT_EQ(Read(elsewhere), QByteArray("kept"));
    // A picture from another format is written from its converted pixels.
    WritePictureFile(picture.convertToFormat(QImage::Format_ARGB32), path);
    EXPECT_EQ(LoadPictureFile(path), picture);

    const QString unwritable = folder.filePath(QStringLiteral("missing/temp.bmp"));
    EXPECT_ANY_THROW(WritePictureFile(picture, unwritable));
    EXPECT_THROW(WritePictureFile(QImage(), path), host::HostError);
    EXPECT_EQ(Read(path), PictureFileBytes(picture)) << "a failed write leaves the file as it was";
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(PictureFile, OtherAndDamagedPictureFilesGoToTheGeneralReaders) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("temp.bmp"));
    const QImage picture = Sample();
    for (const char* format : {"BMP", "PNG"}) {
        ASSERT_TRUE(picture.save(path, format));
        EXPECT_EQ(LoadPictureFile(path).convertToFormat(QImage::Format_RGB32), picture) << format;
    }

    const QByteArray whole = PictureFileBytes(picture);
    Write(path, whole.left(whole.size() - 1));
    EXPECT_EQ(LoadPictureFile(path).size(), QImage(path).size()) << "one byte short";
    QByteArray wide = whole;
    wide[18] = char(0xFF);  // a width the pixels do not fill
    Write(path, wide);
    EXPECT_EQ(LoadPictureFile(path).size(), QImage(path).size());
    EXPECT_THROW(LoadPictureFile(folder.filePath(QStringLiteral("missing.bmp"))), host::HostError);
    EXPECT_THROW(PictureFileBytes(QImage()), host::HostError);
}

// A file no reader can take is refused by its name and what is wrong with it, never handed back as
// an empty picture.
TEST(PictureFile, AFileThatCannotBeReadIsRefusedNamingItAndWhy) {
    QTemporaryDir folder;
    const auto refusal = [](const QString& path) {
        try {
            LoadPictureFile(path);
        } catch (const host::HostError& error) {
            return QString::fromUtf8(error.what());
        }
        return QString();
    };
    const QString missing = folder.filePath(QStringLiteral("missing.bmp"));
    EXPECT_EQ(refusal(missing), QStringLiteral("The picture file %1 cannot be opened: No such file or directory.")
                                    .arg(QDir::toNativeSeparators(missing)));

    const QString path = folder.filePath(QStringLiteral("temp.bmp"));
    Write(path, "BM not a picture at all");
    EXPECT_TRUE(refusal(path).startsWith(
        QStringLiteral("The picture file %1 cannot be read as a picture: ").arg(QDir::toNativeSeparators(path))))
        << refusal(path).toStdString();
    Write(path, QByteArray());
    EXPECT_TRUE(refusal(path).contains(QStringLiteral("cannot be read as a picture"))) << "an empty file";
    EXPECT_TRUE(refusal(folder.path()).startsWith(QStringLiteral("The picture file "))) << "a folder";
}

TEST(PictureFileLayout, RefusesEveryHeaderFieldItDoesNotWrite) {
    const auto header = PictureFileHeader(2, 3, 3780, 3780);
    const uint64_t size = kPictureHeaderSize + 2 * 3 * 4;
    ASSERT_TRUE(ReadPictureLayout(header, size));
    EXPECT_EQ(ReadPictureLayout(header, size)->height, 3);
    EXPECT_FALSE(ReadPictureLayout(std::span(header).first(kPictureHeaderSize - 1), size));
    EXPECT_FALSE(ReadPictureLayout(header, size + 1));
    // Signature, offset, header size, height, planes, depth, compression, image size and file size.
    for (const size_t field : {0, 10, 14, 22, 26, 28, 30, 34, 2}) {
        auto changed = header;
        changed[field] ^= 0x01;
        EXPECT_FALSE(ReadPictureLayout(changed, size)) << "field at byte " << field;
    }
}

}  // namespace
