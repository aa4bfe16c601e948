// The Excel Workbook form of the sample report's result workbook, judged by readers we did not
// write: openpyxl for every cell's value, cached result, formula and format and for the sheet's
// layout and page setup; LibreOffice and Gnumeric for the values and recalculated totals, which
// must equal the .xls file's.
#include "SampleResultWorkbook.h"
#include "support/FileBytes.h"
#include "xls/ColumnWidth.h"
#include "xls/Formula.h"
#include "xlsx/XlsxWorkbook.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString address(uint16_t row, uint16_t col) {
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

QString rgbText(uint32_t rgb) { return QStringLiteral("FF%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper(); }

QJsonValue borderName(xls::BorderStyle style) {
    static const std::array<const char*, 14> kNames{"",
                                                    "thin",
                                                    "medium",
                                                    "dashed",
                                                    "dotted",
                                                    "thick",
                                                    "double",
                                                    "hair",
                                                    "mediumDashed",
                                                    "dashDot",
                                                    "mediumDashDot",
                                                    "dashDotDot",
                                                    "mediumDashDotDot",
                                                    "slantDashDot"};
    if (style == xls::BorderStyle::None) return QJsonValue::Null;
    return QString::fromLatin1(kNames.at(size_t(style)));
}

QJsonValue horizontalName(xls::HAlign align) {
    static const std::array<const char*, 8> kNames{"",     "left",    "center",           "right",
                                                   "fill", "justify", "centerContinuous", "distributed"};
    if (align == xls::HAlign::General) return QJsonValue::Null;
    return QString::fromLatin1(kNames.at(size_t(align)));
}

QJsonValue verticalName(xls::VAlign align) {
    static const std::array<const char*, 5> kNames{"top", "center", "", "justify", "distributed"};
    if (align == xls::VAlign::Bottom) return QJsonValue::Null;
    return QString::fromLatin1(kNames.at(size_t(align)));
}

// The same rows, numbers compared as numbers: a reader may print a number of one file to the cent
// and of the other to its last digit.
void expectSameRows(const QStringList& actual, const QStringList& expected) {
    ASSERT_EQ(actual.size(), expected.size()) << actual.join(QLatin1Char('\n')).toStdString();
    for (qsizetype row = 0; row < actual.size(); ++row) {
        const QStringList got = actual[row].split(QLatin1Char(','));
        const QStringList want = expected[row].split(QLatin1Char(','));
        ASSERT_EQ(got.size(), want.size()) << actual[row].toStdString() << " | " << expected[row].toStdString();
        for (qsizetype col = 0; col < got.size(); ++col) {
            bool gotNumber = false;
            bool wantNumber = false;
            const double gotValue = got[col].toDouble(&gotNumber);
            const double wantValue = want[col].toDouble(&wantNumber);
            if (gotNumber && wantNumber)
                EXPECT_NEAR(gotValue, wantValue, 1e-9) << "row " << row + 1 << " field " << col + 1;
            else
                EXPECT_EQ(got[col].toStdString(), want[col].toStdString()) << "row " << row + 1;
        }
    }
}

// openpyxl keeps only the first cell of a merged range; the others are there in the file.
bool hiddenByMerge(const xls::Sheet& sheet, uint16_t row, uint16_t col) {
    for (const xls::Range& merge : sheet.merges)
        if (merge.contains(row, col) && !(merge.firstRow == row && merge.firstCol == col)) return true;
    return false;
}

// openpyxl shows a merged range's first cell with the range's outer right and bottom edges.
const xls::CellFormat& edgeFormat(const xls::Workbook& book, const xls::Sheet& sheet, uint16_t row, uint16_t col,
                                  bool right) {
    for (const xls::Range& merge : sheet.merges) {
        if (merge.firstRow != row || merge.firstCol != col) continue;
        const xls::Cell* edge = right ? sheet.find(row, merge.lastCol) : sheet.find(merge.lastRow, col);
        if (edge) return book.formats.at(edge->xf);
    }
    return book.formats.at(sheet.find(row, col)->xf);
}

class XlsxIndependentReaders : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        xlsPath = SaveSampleResultWorkbook(folder.path());
        model = ReadWorkbookFile(xlsPath);
        xlsxPath = folder.filePath(QStringLiteral("result.xlsx"));
        const std::vector<uint8_t> bytes = xlsx::writeXlsx(model);
        Write(xlsxPath, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }

    QJsonObject openpyxlView() const {
        const QString output =
            runTool(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/xlsx/read_with_openpyxl.py"), xlsxPath});
        const QJsonDocument document = QJsonDocument::fromJson(output.toUtf8());
        EXPECT_TRUE(document.isObject()) << output.toStdString();
        return document.object();
    }

    const xls::Sheet& sheet() const { return model.sheets.at(model.activeSheet); }

    // One line per row of the sheet as LibreOffice or Gnumeric writes it as CSV.
    QStringList csvRows(const QString& csv) const {
        QFile file(csv);
        if (!file.open(QIODevice::ReadOnly)) return {QStringLiteral("no ") + csv};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    }

    QStringList libreOfficeCsv(const QString& workbook, const QString& name) const {
        const QString out = folder.filePath(name);
        QDir().mkpath(out);
        runTool(QStringLiteral("soffice"),
                {QStringLiteral("-env:UserInstallation=file://") + folder.filePath(QStringLiteral("lo-profile")),
                 QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                 QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false"),
                 QStringLiteral("--outdir"), out, workbook});
        return csvRows(QDir(out).filePath(QFileInfo(workbook).completeBaseName() + QStringLiteral(".csv")));
    }

    QStringList gnumericCsv(const QString& workbook, const QString& name) const {
        const QString out = folder.filePath(name + QStringLiteral(".csv"));
        runTool(QStringLiteral("ssconvert"), {QStringLiteral("--recalc"), workbook, out});
        return csvRows(out);
    }

    QTemporaryDir folder;
    QString xlsPath;
    QString xlsxPath;
    xls::Workbook model;
};

TEST_F(XlsxIndependentReaders, OpenpyxlReadsEveryCellsValueCachedResultAndFormula) {
    const QJsonObject view = openpyxlView();
    EXPECT_EQ(view[QStringLiteral("title")].toString(), QString::fromStdString(sheet().name));
    const QJsonObject cells = view[QStringLiteral("cells")].toObject();
    int formulas = 0;
    for (const auto& [key, cell] : sheet().cells) {
        if (hiddenByMerge(sheet(), uint16_t(key >> 16), uint16_t(key & 0xFFFF))) continue;
        const QString at = address(uint16_t(key >> 16), uint16_t(key & 0xFFFF));
        const QJsonObject read = cells[at].toObject();
        ASSERT_FALSE(read.isEmpty()) << at.toStdString() << " is missing";
        const xls::Value& value = cell.formula ? cell.formula->cached : cell.value;
        if (const double* number = std::get_if<double>(&value)) {
            EXPECT_NEAR(read[QStringLiteral("value")].toDouble(), *number, 1e-9) << at.toStdString();
        } else if (const std::string* text = std::get_if<std::string>(&value); text && !text->empty()) {
            EXPECT_EQ(read[QStringLiteral("value")].toString().toStdString(), *text) << at.toStdString();
            EXPECT_EQ(read[QStringLiteral("type")].toString(), QStringLiteral("s")) << at.toStdString();
        } else {
            EXPECT_TRUE(read[QStringLiteral("value")].isNull()) << at.toStdString();
        }
        if (cell.formula) {
            ++formulas;
            EXPECT_EQ(read[QStringLiteral("formula")].toString().toStdString(),
                      "=" + xls::formulaText(cell.formula->tokens))
                << at.toStdString();
        }
    }
    EXPECT_EQ(formulas, 24) << "15 row totals, 7 column totals, the subtotal and the total";
    EXPECT_NEAR(cells[QStringLiteral("M27")].toObject()[QStringLiteral("value")].toDouble(), 448.94, 1e-9);
}

TEST_F(XlsxIndependentReaders, OpenpyxlReadsEveryCellsNumberFormatFontFillBordersAndAlignment) {
    const QJsonObject cells = openpyxlView()[QStringLiteral("cells")].toObject();
    for (const auto& [key, cell] : sheet().cells) {
        if (hiddenByMerge(sheet(), uint16_t(key >> 16), uint16_t(key & 0xFFFF))) continue;
        const QString at = address(uint16_t(key >> 16), uint16_t(key & 0xFFFF));
        const std::string where = at.toStdString();
        const QJsonObject read = cells[at].toObject();
        const xls::CellFormat& format = model.formats.at(cell.xf);
        const xls::Font& font = model.fonts.at(format.font);
        // openpyxl names the built-in short date by its own table.
        const QString code = format.numFmt == 14 ? QStringLiteral("mm-dd-yy")
                                                 : QString::fromStdString(model.numberFormatCode(format.numFmt));
        EXPECT_EQ(read[QStringLiteral("numberFormat")].toString(), code) << where;
        const QJsonArray readFont = read[QStringLiteral("font")].toArray();
        EXPECT_EQ(readFont[0].toString().toStdString(), font.name) << where;
        EXPECT_DOUBLE_EQ(readFont[1].toDouble(), font.heightTwips / 20.0) << where;
        EXPECT_EQ(readFont[2].toBool(), font.bold) << where;
        EXPECT_EQ(readFont[3].toBool(), font.italic) << where;
        if (font.colour != xls::kAutomaticColour) {
            EXPECT_EQ(readFont[4].toString(), rgbText(font.colour)) << where;
        }
        if (format.fill == xls::kNoFill)
            EXPECT_TRUE(read[QStringLiteral("fill")].isNull()) << where;
        else
            EXPECT_EQ(read[QStringLiteral("fill")].toString(), rgbText(format.fill)) << where;
        const QJsonArray borders = read[QStringLiteral("borders")].toArray();
        EXPECT_EQ(borders[0], borderName(format.left.style)) << where;
        const uint16_t row = uint16_t(key >> 16);
        const uint16_t col = uint16_t(key & 0xFFFF);
        EXPECT_EQ(borders[1], borderName(edgeFormat(model, sheet(), row, col, true).right.style)) << where;
        EXPECT_EQ(borders[2], borderName(format.top.style)) << where;
        EXPECT_EQ(borders[3], borderName(edgeFormat(model, sheet(), row, col, false).bottom.style)) << where;
        const QJsonArray align = read[QStringLiteral("align")].toArray();
        EXPECT_EQ(align[0], horizontalName(format.hAlign)) << where;
        EXPECT_EQ(align[1], verticalName(format.vAlign)) << where;
        EXPECT_EQ(align[2].toBool(), format.wrap) << where;
    }
    EXPECT_EQ(cells[QStringLiteral("L8")].toObject()[QStringLiteral("numberFormat")].toString(), QStringLiteral("@"));
}

TEST_F(XlsxIndependentReaders, OpenpyxlReadsTheMergesSizesViewAndPageSetup) {
    const QJsonObject view = openpyxlView();
    QStringList merges;
    for (const xls::Range& merge : sheet().merges)
        merges << address(merge.firstRow, merge.firstCol) + QLatin1Char(':') + address(merge.lastRow, merge.lastCol);
    merges.sort();
    QStringList readMerges;
    for (const QJsonValue& merge : view[QStringLiteral("merges")].toArray()) readMerges << merge.toString();
    EXPECT_EQ(readMerges.size(), 25);
    EXPECT_EQ(readMerges, merges);

    // A width in the file is the column's pixels in 7-pixel digits.
    const QJsonObject widths = view[QStringLiteral("widths")].toObject();
    for (const xls::ColumnInfo& column : sheet().columns) {
        const QString letter = address(0, column.first).chopped(1);
        const int pixels = xls::columnWidthPixels(column.width, 7);
        EXPECT_EQ(int(std::lround(widths[letter].toDouble() * 7)), pixels) << letter.toStdString();
    }
    const QJsonObject heights = view[QStringLiteral("heights")].toObject();
    for (const auto& [row, info] : sheet().rows) {
        if (info.customHeight) {
            EXPECT_DOUBLE_EQ(heights[QString::number(row + 1)].toDouble(), info.heightTwips / 20.0) << row + 1;
        }
    }
    EXPECT_DOUBLE_EQ(heights[QStringLiteral("3")].toDouble(), 30.0);

    EXPECT_FALSE(view[QStringLiteral("gridlines")].toBool());
    EXPECT_EQ(view[QStringLiteral("zoom")].toInt(), 100);
    EXPECT_EQ(view[QStringLiteral("activeCell")].toString(), address(sheet().activeCell.row, sheet().activeCell.col));
    EXPECT_EQ(view[QStringLiteral("printArea")].toArray(), (QJsonArray{QStringLiteral("$A$1:$M$29")}));
    EXPECT_EQ(view[QStringLiteral("paper")].toInt(), 1) << "Letter";
    EXPECT_EQ(view[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
    EXPECT_TRUE(view[QStringLiteral("fitToPage")].toBool());
    EXPECT_EQ(view[QStringLiteral("fit")].toArray(), (QJsonArray{1, 1}));
    EXPECT_EQ(view[QStringLiteral("centred")].toArray(), (QJsonArray{true, false}));
    EXPECT_EQ(view[QStringLiteral("margins")].toArray(), (QJsonArray{0.75, 0.75, 0.5, 1.0, 0.5, 0.5}));
}

TEST_F(XlsxIndependentReaders, LibreOfficeShowsTheSameValuesAndTotalsAsForTheXls) {
    const QStringList fromXlsx = libreOfficeCsv(xlsxPath, QStringLiteral("lo-xlsx"));
    const QStringList fromXls = libreOfficeCsv(xlsPath, QStringLiteral("lo-xls"));
    ASSERT_GT(fromXlsx.size(), 28) << fromXlsx.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(fromXlsx.join(QLatin1Char('\n')).toStdString(), fromXls.join(QLatin1Char('\n')).toStdString());
    EXPECT_TRUE(fromXlsx[26].endsWith(QStringLiteral("Subtotal,448.94"))) << fromXlsx[26].toStdString();
}

TEST_F(XlsxIndependentReaders, GnumericRecalculatesTheSameValuesAndTotalsAsForTheXls) {
    const QStringList fromXlsx = gnumericCsv(xlsxPath, QStringLiteral("gnumeric-xlsx"));
    const QStringList fromXls = gnumericCsv(xlsPath, QStringLiteral("gnumeric-xls"));
    ASSERT_GT(fromXlsx.size(), 28) << fromXlsx.join(QLatin1Char('\n')).toStdString();
    expectSameRows(fromXlsx, fromXls);
    EXPECT_TRUE(fromXlsx.join(QLatin1Char('\n')).contains(QStringLiteral("Subtotal,448.94")));
}

}  // namespace
