// The window's icon: every size the desktop entry offers, read without loading image plugins.
#include "app/ApplicationIcon.h"

#include <QFile>
#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// Whether this process has mapped one of Qt's image format plugins.
bool AnImagePluginIsLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return false;
    return maps.readAll().contains("/imageformats/");
}

TEST(ApplicationIcon, OffersTheProductPicturesAtEachSizeAndLoadsNoImagePlugin) {
    ASSERT_FALSE(AnImagePluginIsLoaded()) << "the test process loaded an image plugin before the icon was made";
    const QIcon icon = ApplicationIcon();
    EXPECT_FALSE(AnImagePluginIsLoaded()) << "the icon's PNG pictures need no plugin; the start would load them all";

    ASSERT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    for (const int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const QImage expected(
            QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/packaging/icons/org.brindlemoor.Brindlemoor-%1.png").arg(size));
        ASSERT_FALSE(expected.isNull());
        // A pixmap keeps its alpha premultiplied: compared so, no rounding stands between the two.
        const QImage shown = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

}  // namespace
