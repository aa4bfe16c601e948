#include "app/PointerKinds.h"
#include "app/CursorFile.h"
#include "app/MousePointer.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const QString kSourceDir = QStringLiteral(BRINDLEMOOR_SOURCE_DIR);

std::vector<uint8_t> ReadBytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> Hand() { return ReadBytes(kSourceDir + QStringLiteral("/app/assets/HAND-M.CUR")); }

void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + size_t(i)] = uint8_t(value >> (8 * i));
}

constexpr size_t kImage = 22;  // the one directory entry's image follows the directory

uint32_t Pixel(const CursorImage& cursor, int x, int y) {
    return cursor.argb[size_t(y) * size_t(cursor.width) + size_t(x)];
}

}  // namespace

TEST(CursorFile, ReadsOurHandInEveryDepth) {
    const auto hand = ParseCursorFile(Hand());
    ASSERT_TRUE(hand);
    EXPECT_EQ(hand->width, 32);
    EXPECT_EQ(hand->height, 32);
    EXPECT_EQ(hand->hotspotX, 5);
    EXPECT_EQ(hand->hotspotY, 0);
    EXPECT_EQ(Pixel(*hand, 5, 0), 0xFF000000u) << "the fingertip outline";
    EXPECT_EQ(Pixel(*hand, 5, 1), 0xFFFFFFFFu) << "the finger";
    EXPECT_EQ(Pixel(*hand, 0, 0) >> 24, 0u) << "transparent around the hand";
    EXPECT_EQ(Pixel(*hand, 31, 31) >> 24, 0u);

    for (const char* depth : {"1", "4", "8", "24"}) {
        const auto variant = ParseCursorFile(
            ReadBytes(kSourceDir + QStringLiteral("/fuzz/corpus/cursor/hand-%1bit.cur").arg(QLatin1String(depth))));
        ASSERT_TRUE(variant) << depth;
        EXPECT_EQ(variant->argb, hand->argb) << depth << "-bit image differs from the 32-bit one";
    }
}

TEST(CursorFile, RefusesTruncatedAndHostileFiles) {
    const std::vector<uint8_t> hand = Hand();
    for (size_t length : {size_t(0), size_t(5), size_t(21), kImage + 39, hand.size() - 1})
        EXPECT_FALSE(ParseCursorFile(std::span(hand).first(length))) << "cut at " << length;

    const auto refused = [&](auto&& damage) {
        std::vector<uint8_t> bytes = hand;
        damage(bytes);
        return !ParseCursorFile(bytes).has_value();
    };
    EXPECT_TRUE(refused([](auto& b) { b[2] = 1; })) << "an icon, not a cursor";
    EXPECT_TRUE(refused([](auto& b) { b[4] = b[5] = 0; })) << "no images";
    EXPECT_TRUE(refused([](auto& b) { Put32(b, 6 + 12, 0xFFFFFFF0u); })) << "image offset far outside";
    EXPECT_TRUE(refused([](auto& b) { Put32(b, 6 + 8, 0xFFFFFFFFu); })) << "image size far outside";
    EXPECT_TRUE(refused([](auto& b) { Put32(b, kImage + 4, 100000); })) << "huge width";
    EXPECT_TRUE(refused([](auto& b) { Put32(b, kImage + 4, uint32_t(-32)); })) << "negative width";
    EXPECT_TRUE(refused([](auto& b) { Put32(b, kImage + 8, 0x7FFFFFFEu); })) << "huge height";
    EXPECT_TRUE(refused([](auto& b) { Put32(b, kImage, 0xFFFFFFFFu); })) << "header size beyond the file";
    EXPECT_TRUE(refused([](auto& b) { b[kImage + 14] = 16; })) << "unsupported depth";
    EXPECT_TRUE(refused([](auto& b) { b[kImage + 16] = 3; })) << "compressed";
    EXPECT_TRUE(refused([](auto& b) { b[6 + 4] = 40; })) << "hotspot outside the image";
    EXPECT_TRUE(refused([](auto& b) {
        const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        std::memcpy(b.data() + kImage, png, sizeof png);
    })) << "PNG-compressed entry";

    std::vector<uint8_t> paletted = ReadBytes(kSourceDir + QStringLiteral("/fuzz/corpus/cursor/hand-8bit.cur"));
    Put32(paletted, kImage + 32, 1);  // one colour, but pixels use index 1
    EXPECT_FALSE(ParseCursorFile(paletted));
    Put32(paletted, kImage + 32, 257);
    EXPECT_FALSE(ParseCursorFile(paletted)) << "more colours than the depth allows";
}

TEST(MousePointer, OneKindForTheWholeWindow) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* button = new QPushButton(&window);
    MousePointer pointer(&window);
    EXPECT_FALSE(pointer.loadCustom(QStringLiteral("/nonexistent/HAND-M.CUR")));

    pointer.setKind(kPointerDefault);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(field->cursor().shape(), Qt::IBeamCursor) << "a text field shows where typing goes";
    pointer.setKind(kPointerHourglass);
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(button->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(field->cursor().shape(), Qt::WaitCursor);
    pointer.setKind(kPointerCustom);
    EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor) << "without a custom pointer, the arrow";

    ASSERT_TRUE(pointer.loadCustom(kSourceDir + QStringLiteral("/app/assets/HAND-M.CUR")));
    EXPECT_EQ(pointer.kind(), kPointerCustom);
    EXPECT_EQ(button->cursor().shape(), Qt::BitmapCursor) << "a newly loaded pointer shows at once";
    EXPECT_EQ(button->cursor().hotSpot(), QPoint(5, 0));
}

TEST(MousePointer, BrokenFileLeavesNoCustomPointer) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HAND-M.CUR"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("\0\0\2\0\1\0garbage", 13);
    file.close();
    QWidget window;
    MousePointer pointer(&window);
    EXPECT_FALSE(pointer.loadCustom(path));
    EXPECT_FALSE(pointer.hasCustom());
    EXPECT_FALSE(pointer.loadCustom(dir.path())) << "a folder is no cursor file";
}
