// The batch draws with a font configuration of its own; its picture must still be the one the
// program draws in process under the system's configuration, in every script the system's fonts
// cover and for text they do not.
#include "BatchProcess.h"

#include "workbook/host/LocaleAdapter.h"
#include "xls/SheetPainter.h"
#include "xls/WorkbookIo.h"

#include <QImage>
#include <QLocale>

namespace {

class BatchPicture : public BatchTest {};

TEST_F(BatchPicture, IsThePictureTheProgramDrawsInProcess) {
    const QString report = writeFile(QStringLiteral("r.json"), R"({
        "txtPurpose": "Zoë Ångström — Αθήνα, Москва",
        "txtName": "عربي עברית 日本語 😀",
        "txtDesc0": "Client visit", "txtHotel0": "$118.74", "txtMeals0": 12.5,
        "txtDesc1": "Ţară, ﬁnance", "txtMeals1": "$1,234.56",
        "dtpFrom": "2016-11-05", "dtpTo": "2016-11-12", "DTPicker20": "2016-11-06"})");
    const QString xls = path(QStringLiteral("o.xls"));
    const QString png = path(QStringLiteral("o.png"));
    const BatchResult result = run({QStringLiteral("--locale"), QStringLiteral("en_US"), QStringLiteral("--report"),
                                    report, QStringLiteral("--xls"), xls, QStringLiteral("--picture"), png});
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();

    const QByteArray file = Contents(xls);
    const xls::Workbook book =
        xls::readWorkbook(std::span(reinterpret_cast<const uint8_t*>(file.constData()), size_t(file.size())));
    const xls::Sheet& sheet = book.sheets.at(book.activeSheet);
    const QImage inProcess = xls::renderRange(book, sheet, sheet.usedRange().value(),
                                              LocaleInfoFromQLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
    const QImage batch = QImage::fromData(Contents(png), "PNG");
    ASSERT_EQ(batch.size(), inProcess.size());
    EXPECT_EQ(batch.convertToFormat(QImage::Format_RGB32), inProcess.convertToFormat(QImage::Format_RGB32));
}

// FONTCONFIG_FILE names the configuration a user wants: fully hinted glyphs draw other pixels.
TEST_F(BatchPicture, FollowsAFontConfigurationNamedInTheEnvironment) {
    const QString report = writeFile(QStringLiteral("r.json"), R"({"txtPurpose": "Hamburgefonstiv"})");
    const auto pictureWith = [&](const QString& name) {
        const QString png = path(name);
        const BatchResult result = run({QStringLiteral("--report"), report, QStringLiteral("--xls"),
                                        path(name + QStringLiteral(".xls")), QStringLiteral("--picture"), png});
        EXPECT_EQ(result.exitCode, 0) << result.standardError.toStdString();
        return QImage::fromData(Contents(png), "PNG");
    };
    const QImage ours = pictureWith(QStringLiteral("ours.png"));
    environment.insert(QStringLiteral("FONTCONFIG_FILE"),
                       writeFile(QStringLiteral("fonts.conf"), R"(<?xml version="1.0"?>
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font"><edit name="hintstyle" mode="assign"><const>hintfull</const></edit></match>
</fontconfig>
)"));
    const QImage theirs = pictureWith(QStringLiteral("theirs.png"));
    ASSERT_FALSE(ours.isNull());
    ASSERT_EQ(theirs.size(), ours.size());
    EXPECT_NE(theirs, ours);
}

}  // namespace
