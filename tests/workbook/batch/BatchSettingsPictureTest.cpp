// The batch's picture under a desktop's settings, judged by its pixels: it is the picture of the
// locale each category names, however the environment names it, and never another settings' picture.
#include "BatchProcess.h"
#include "support/DesktopLocales.h"

#include <QImage>

namespace {

class BatchSettingsPicture : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        report = writeFile(QStringLiteral("r.json"), R"({"dtpFrom": "2016-11-05", "dtpTo": "2016-11-20",
            "DTPicker20": "2016-11-07", "txtAccount0": "110797", "txtHotel0": 1234.57, "txtMeals0": -3,
            "txtMisc1": 0.5})");
    }

    // The picture drawn under the NAME=value pairs (and the further options), as pixels.
    QImage pictureUnder(const QStringList& pairs, const QStringList& options = {}) {
        environment = WithDesktopSettings(environment, pairs);
        const QString png = path(QStringLiteral("p%1.png").arg(++m_pictures));
        const BatchResult result = run(QStringList{QStringLiteral("--report"), report, QStringLiteral("--xls"),
                                                   path(QStringLiteral("o.xls")), QStringLiteral("--picture"), png} +
                                       options);
        EXPECT_EQ(result.exitCode, 0) << result.standardError.toStdString();
        return QImage::fromData(Contents(png), "PNG").convertToFormat(QImage::Format_RGB32);
    }

    QString report;

private:
    int m_pictures = 0;
};

const QStringList kLocales{QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LANG=en_US.UTF-8"),
                           QStringLiteral("LANG=fr_FR.UTF-8")};

}  // namespace

TEST_F(BatchSettingsPicture, ADesktopsSettingsDrawWhatTheSameLocaleNamedOnTheCommandLineDraws) {
    SKIP_WITHOUT_LOCALES(kLocales);
    const QImage named =
        pictureUnder({QStringLiteral("LANG=C.UTF-8")}, {QStringLiteral("--locale"), QStringLiteral("de_DE")});
    ASSERT_FALSE(named.isNull());
    EXPECT_EQ(pictureUnder({QStringLiteral("LANG=de_DE.UTF-8")}), named);
    EXPECT_EQ(pictureUnder({QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LANG=en_US.UTF-8"),
                            QStringLiteral("LC_MONETARY=fr_FR.UTF-8"), QStringLiteral("LC_TIME=fr_FR.UTF-8")}),
              named);
    // --locale names every category, whatever the desktop set apart.
    EXPECT_EQ(pictureUnder({QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_MONETARY=fr_FR.UTF-8")},
                           {QStringLiteral("--locale"), QStringLiteral("de_DE")}),
              named);
    EXPECT_NE(pictureUnder({QStringLiteral("LANG=en_US.UTF-8")}), named);
    EXPECT_NE(pictureUnder({QStringLiteral("LANG=fr_FR.UTF-8")}), named);
}

// Only the locale of each category counts, not the variable that names it nor the language.
TEST_F(BatchSettingsPicture, CategoriesSetApartDrawAsTheSameCategoriesNamedOtherwise) {
    SKIP_WITHOUT_LOCALES(kLocales);
    const QImage germanMoney =
        pictureUnder({QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_MONETARY=de_DE.UTF-8")});
    ASSERT_FALSE(germanMoney.isNull());
    EXPECT_EQ(pictureUnder({QStringLiteral("LANG=fr_FR.UTF-8"), QStringLiteral("LC_NUMERIC=en_US.UTF-8"),
                            QStringLiteral("LC_TIME=en_US.UTF-8"), QStringLiteral("LC_MONETARY=de_DE.UTF-8")}),
              germanMoney);
    EXPECT_NE(germanMoney, pictureUnder({QStringLiteral("LANG=en_US.UTF-8")}));
    EXPECT_NE(germanMoney, pictureUnder({QStringLiteral("LANG=de_DE.UTF-8")}));

    const QImage americanDates =
        pictureUnder({QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LC_TIME=en_US.UTF-8")});
    EXPECT_EQ(pictureUnder({QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_NUMERIC=de_DE.UTF-8"),
                            QStringLiteral("LC_MONETARY=de_DE.UTF-8")}),
              americanDates);
    EXPECT_NE(americanDates, pictureUnder({QStringLiteral("LANG=de_DE.UTF-8")}));
}
