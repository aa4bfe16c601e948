// The sample report as a PDF, judged by poppler's tools as a reader of the file would: one Letter
// landscape page, searchable text in reading order, embedded fonts, and the cells where our own
// picture of the print area puts them; hand-built sheets for gridlines and page breaks.
#include "SampleResultWorkbook.h"
#include "SheetFixtures.h"
#include "workbook/host/LocaleAdapter.h"
#include "xls/PdfExport.h"
#include "xls/PrintPlan.h"
#include "xls/ScreenFonts.h"
#include "xls/SheetGeometry.h"
#include "xls/SheetPainter.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kDpi = 96;
constexpr double kPixelsPerPoint = kDpi / 72.0;

class SamplePdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PopplerInstalled()) GTEST_SKIP() << "poppler-utils is not installed (./do test installs it)";
        ASSERT_TRUE(folder.isValid());
        book = ReadWorkbookFile(SaveSampleResultWorkbook(folder.path()));
        ASSERT_FALSE(book.sheets.empty());
    }
    void TearDown() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    const xls::Sheet& sheet() const { return book.sheets.front(); }
    QString writePdf(const QLocale& locale = QLocale()) {
        const QByteArray pdf = xls::renderPdf(book, sheet(), LocaleInfoFromQLocale(locale));
        const QString path = folder.filePath(QStringLiteral("report.pdf"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pdf);
        return path;
    }
    // "-layout" keeps the page's arrangement; "-raw" keeps the document's order and every copy of a
    // text, as copying from a viewer does.
    QString text(const QString& pdf, const QString& mode = QStringLiteral("-layout")) {
        return PopplerOutput(QStringLiteral("pdftotext"), {mode, pdf, QStringLiteral("-")}).value_or(QString());
    }

    QTemporaryDir folder;
    xls::Workbook book;
};

// Each row's texts appear on one line, left to right, and the rows follow one another downwards.
void expectRowsInReadingOrder(const QString& text, const std::vector<QStringList>& rows) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    qsizetype line = 0;
    for (const QStringList& row : rows) {
        bool found = false;
        for (; line < lines.size() && !found; ++line) {
            qsizetype at = 0;
            found = std::all_of(row.begin(), row.end(), [&](const QString& item) {
                at = lines[line].indexOf(item, at);
                if (at < 0) return false;
                at += item.size();
                return true;
            });
        }
        EXPECT_TRUE(found) << "not found in order below the previous row: "
                           << row.join(QStringLiteral(" | ")).toStdString() << "\n"
                           << text.toStdString();
    }
}

TEST_F(SamplePdf, IsOneSmallLetterLandscapePageWithEveryFontEmbedded) {
    const QString pdf = writePdf();
    EXPECT_LT(QFile(pdf).size(), 100 * 1024);
    const QString info = PopplerOutput(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+792 x 612 pts")))) << info.toStdString();

    const QStringList fonts = PopplerOutput(QStringLiteral("pdffonts"), {pdf})
                                  .value_or(QString())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(fonts.size(), 2) << "no fonts: the text was not drawn as text";
    for (const QString& font : fonts.mid(2))  // after the heading and its rule
        EXPECT_TRUE(font.contains(QRegularExpression(QStringLiteral("\\s+yes\\s+(yes|no)\\s+yes\\s+"))))
            << "not embedded with a Unicode map: " << font.toStdString();
}

TEST_F(SamplePdf, TextShowsEveryLabelValueAndTotalRowByRowAndEachOnce) {
    const QString pdf = writePdf();
    const QString shown = text(pdf);
    expectRowsInReadingOrder(
        shown, {{"For Office Use Only"},
                {"Expense report"},
                {"PURPOSE:", "Business trip", "STATEMENT NUMBER:", "B1415", "PAY PERIOD:", "From", "11/5/2016"},
                {"To", "11/11/2016"},
                {"EMPLOYEE INFORMATION:"},
                {"Name", "Peter Ashdown", "Position", "Jr. Manager", "SSN", "NA"},
                {"Department", "Sales", "Manager", "M. T. Garfoot", "Employee ID", "SM17"},
                {"Date", "Account", "Description", "Hotel", "Transport", "Fuel", "Meals", "Phone", "Entertainment",
                 "Misc", "Total"},
                {"11/7/2016", "110797", "Transport account", "112.57", "44.58", "22.58", "18.35", "198.08"},
                {"11/10/2016", "111017", "Hotel account", "118.74", "52.89", "48.75", "14.99", "15.49", "250.86"},
                {"118.74", "112.57", "44.58", "75.47", "67.10", "14.99", "15.49"},
                {"Subtotal", "448.94"},
                {"APPROVED:", "OK", "NOTES:", "Check next month", "Advances"},
                {"Total", "448.94"}});
    // Bold labels are thickened on paper without writing their text twice.
    const QString raw = text(pdf, QStringLiteral("-raw"));
    for (const char* label : {"PURPOSE:", "EMPLOYEE INFORMATION:", "Entertainment", "Subtotal", "Advances"})
        EXPECT_EQ(raw.count(QString::fromLatin1(label)), 1) << label;
}

TEST_F(SamplePdf, GermanSettingsPrintTheSameNumbersWithTheirOwnSeparatorsAndDates) {
    const QString shown = text(writePdf(QLocale(QLocale::German, QLocale::Germany)));
    expectRowsInReadingOrder(shown, {{"07.11.2016", "110797", "Transport account", "112,57", "198,08"},
                                     {"10.11.2016", "111017", "Hotel account", "118,74", "250,86"},
                                     {"Subtotal", "448,94"}});
}

// Centres of the lines of near-black pixels that run across at least `share` of the area: along
// its rows for horizontal lines, down its columns for vertical ones.
std::vector<double> lineCentres(const QImage& image, const QRect& area, Qt::Orientation orientation, double share) {
    const bool horizontal = orientation == Qt::Horizontal;
    const QRect inside = area.intersected(image.rect());
    const int lines = horizontal ? inside.height() : inside.width();
    const int length = horizontal ? inside.width() : inside.height();
    std::vector<double> centres;
    int runStart = -1;
    for (int i = 0; i <= lines; ++i) {
        int dark = 0;
        for (int j = 0; i < lines && j < length; ++j) {
            const QRgb pixel = horizontal ? image.pixel(inside.left() + j, inside.top() + i)
                                          : image.pixel(inside.left() + i, inside.top() + j);
            dark += qRed(pixel) < 96 && qGreen(pixel) < 96 && qBlue(pixel) < 96;
        }
        const bool onLine = i < lines && dark >= share * length;
        if (onLine && runStart < 0) runStart = i;
        if (!onLine && runStart >= 0) {
            centres.push_back((horizontal ? inside.top() : inside.left()) + (runStart + i - 1) / 2.0);
            runStart = -1;
        }
    }
    return centres;
}

TEST_F(SamplePdf, DrawnAtNinetySixDpiTheBordersLieWhereThePictureScaledByTheFitFactorPutsThem) {
    const QString pdf = writePdf();
    const QImage page = PopplerPicture(pdf, kDpi);
    ASSERT_EQ(page.size(), QSize(1056, 816));
    const xls::LocaleInfo locale = LocaleInfoFromQLocale(QLocale());
    const xls::Range area = *sheet().printArea;
    const QImage picture = xls::renderRange(book, sheet(), area, locale);
    const xls::PrintPlan plan = xls::planPrint(book, sheet());
    ASSERT_EQ(plan.pages.size(), 1u);
    const QPointF origin = plan.pages[0].origin * kPixelsPerPoint;
    const double scale = plan.scale;
    const auto onPage = [&](const QRect& rect) {
        return QRectF(origin + QPointF(rect.topLeft()) * scale, QSizeF(rect.size()) * scale)
            .toAlignedRect()
            .adjusted(-2, -2, 2, 2);
    };

    const xls::SheetGeometry geometry(sheet(), area, xls::maxDigitWidth(xls::screenFonts(book).front()));
    // Vertical lines are looked for in the grid's rows (10 to 26), where they run from top to bottom.
    const QRect grid(0, geometry.rowTop(9), picture.width(), geometry.rowTop(26) - geometry.rowTop(9));
    for (const auto& [orientation, region, offset] :
         {std::tuple{Qt::Horizontal, picture.rect(), origin.y()}, std::tuple{Qt::Vertical, grid, origin.x()}}) {
        const std::vector<double> drawn = lineCentres(picture, region, orientation, 0.8);
        const std::vector<double> printed = lineCentres(page, onPage(region), orientation, 0.6);
        EXPECT_GE(drawn.size(), 12u);
        for (double line : drawn) {
            const double expected = offset + (line + 0.5) * scale - 0.5;
            const auto nearest = std::min_element(printed.begin(), printed.end(), [&](double a, double b) {
                return std::abs(a - expected) < std::abs(b - expected);
            });
            ASSERT_NE(nearest, printed.end());
            EXPECT_NEAR(*nearest, expected, 2.0)
                << (orientation == Qt::Horizontal ? "row line at " : "column line at ") << line << " of the picture";
        }
    }
}

}  // namespace

namespace {

using drawtest::SheetBuilder;

class HandBuiltPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PopplerInstalled()) GTEST_SKIP() << "poppler-utils is not installed (./do test installs it)";
        ASSERT_TRUE(folder.isValid());
    }
    QString write(const SheetBuilder& builder) {
        const QString path = folder.filePath(QStringLiteral("sheet%1.pdf").arg(++written));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xls::renderPdf(builder.book, builder.book.sheets.front(), {}));
        return path;
    }
    QTemporaryDir folder;
    int written = 0;
};

int gridlinePixels(const QImage& page) {
    int count = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) count += page.pixel(x, y) == qRgb(0xC0, 0xC0, 0xC0);
    return count;
}

TEST_F(HandBuiltPdf, GridlinesPrintOnlyWhenThePageSetupAsksWhateverTheScreenShows) {
    SheetBuilder builder;
    builder.put(0, 0, std::string("a"));
    builder.put(5, 3, std::string("b"));
    builder.sheet().showGridlines = true;
    EXPECT_EQ(gridlinePixels(PopplerPicture(write(builder), kDpi)), 0);
    builder.sheet().showGridlines = false;
    builder.sheet().page.printGridlines = true;
    EXPECT_GT(gridlinePixels(PopplerPicture(write(builder), kDpi)), 500);
}

TEST_F(HandBuiltPdf, ALargeSheetPrintsEachCellOnItsOwnPageOnly) {
    SheetBuilder builder;
    builder.put(0, 0, std::string("FirstCell"));
    builder.put(59, 19, std::string("LastCell"));
    const size_t pages = xls::planPrint(builder.book, builder.sheet()).pages.size();
    ASSERT_GT(pages, 2u);
    const QString pdf = write(builder);
    const QString info = PopplerOutput(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages)))) << info.toStdString();
    const auto pageText = [&](size_t page) {
        const QString number = QString::number(page);
        return PopplerOutput(QStringLiteral("pdftotext"),
                             {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf, QStringLiteral("-")})
            .value_or(QString());
    };
    EXPECT_EQ(pageText(1).trimmed(), QStringLiteral("FirstCell"));
    EXPECT_EQ(pageText(pages).trimmed(), QStringLiteral("LastCell"));
    for (size_t page = 2; page < pages; ++page) EXPECT_EQ(pageText(page).trimmed(), QString()) << page;
}

// Shaped text reads back as the letters it is: Arabic in its joined forms (initial meem, final reh,
// ...), a decomposed accent as the composed letter, and "fi" as two letters that a search finds.
TEST_F(HandBuiltPdf, TextIsShapedWithoutLigaturesThatSearchingWouldMiss) {
    SheetBuilder builder;
    builder.put(0, 0, std::string("\u0645\u0631\u062D\u0628\u0627"));
    builder.put(1, 0, std::string("Ame\u0301lie"));
    builder.put(2, 0, std::string("office"));
    QString text =
        PopplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), write(builder), QStringLiteral("-")})
            .value_or(QString());
    // pdftotext puts each right-to-left glyph on a line of its own between embedding marks.
    text.remove(QRegularExpression(QStringLiteral("[\\x{202A}-\\x{202E}\\s]")));
    EXPECT_TRUE(text.contains(QStringLiteral("\uFEE3\uFEAE\uFEA3\uFE92\uFE8E"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Am\u00e9lie"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("office"))) << text.toStdString();
}

}  // namespace
