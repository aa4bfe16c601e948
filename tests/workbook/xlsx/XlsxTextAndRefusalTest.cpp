// Texts at their limits and in every script reach the Excel Workbook exactly as typed, formula-like
// ones as text; what the form cannot carry is refused naming the cell, never dropped.
#include "support/FileBytes.h"
#include "xls/Error.h"
#include "xls/Formula.h"
#include "xlsx/XlsxWorkbook.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kTexts{
    std::string(32767, 'x'),
    "Ærøskøbing façade naïve",  // Latin with marks
    "Ελληνικά Кириллица",       // Greek, Cyrillic
    "עברית العربية",            // right to left
    "日本語 中文 한국어",       // CJK
    "ภาษาไทย हिन्दी",            // Thai, Devanagari
    "receipt 🧾 😀 𝄞",   // beyond the basic plane
    "=SUM(A1:A2)",              // formula-looking texts stay texts
    "+1",
    "-1",
    "@A1",
    "=cmd|' /C calc'!A0",
    "12.50",
    "    four leading spaces",
    "tab\there",
};

xls::Workbook workbookOf(const std::vector<std::string>& texts) {
    xls::Workbook book;
    book.sheets.emplace_back();
    book.sheets.front().name = "Texts";
    for (size_t i = 0; i < texts.size(); ++i) book.sheets.front().at(uint16_t(i), 0).value = texts[i];
    return book;
}

QString saved(const QTemporaryDir& folder, const xls::Workbook& book, const QString& name) {
    const std::vector<uint8_t> bytes = xlsx::writeXlsx(book);
    const QString path = folder.filePath(name);
    Write(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    return path;
}

std::string refusalOf(const xls::Workbook& book) {
    try {
        xlsx::writeXlsx(book);
    } catch (const xls::Error& error) {
        return error.what();
    }
    return "nothing was refused";
}

TEST(XlsxTexts, OpenpyxlReadsEveryTextAsTypedAndAsText) {
    QTemporaryDir folder;
    const QString path = saved(folder, workbookOf(kTexts), QStringLiteral("texts.xlsx"));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/xlsx/read_with_openpyxl.py"), path});
    ASSERT_TRUE(python.waitForFinished(60000));
    const QJsonObject cells =
        QJsonDocument::fromJson(python.readAllStandardOutput()).object()[QStringLiteral("cells")].toObject();
    ASSERT_EQ(cells.size(), qsizetype(kTexts.size())) << python.readAllStandardError().toStdString();
    for (size_t i = 0; i < kTexts.size(); ++i) {
        const QJsonObject cell = cells[QStringLiteral("A%1").arg(i + 1)].toObject();
        EXPECT_EQ(cell[QStringLiteral("value")].toString().toStdString(), kTexts[i]) << i;
        EXPECT_EQ(cell[QStringLiteral("type")].toString(), QStringLiteral("s")) << kTexts[i];
        EXPECT_TRUE(cell[QStringLiteral("formula")].isNull()) << kTexts[i];
    }
}

// Readers decode "_x0041_" in a text as "A"; the text that holds it literally must keep it.
TEST(XlsxTexts, LibreOfficeKeepsATextThatSpellsACharacterCode) {
    QTemporaryDir folder;
    const QString path =
        saved(folder, workbookOf({"_x0041_ stays", "two\nlines", "=1+1"}), QStringLiteral("codes.xlsx"));
    QProcess soffice;
    soffice.start(
        QStringLiteral("soffice"),
        {QStringLiteral("-env:UserInstallation=file://") + folder.filePath(QStringLiteral("profile")),
         QStringLiteral("--headless"), QStringLiteral("--convert-to"),
         QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"), folder.path(), path});
    ASSERT_TRUE(soffice.waitForFinished(180000));
    const QString csv = QString::fromUtf8(Contents(folder.filePath(QStringLiteral("codes.csv"))));
    EXPECT_EQ(csv, QStringLiteral("_x0041_ stays\n\"two\nlines\"\n=1+1\n"));
}

TEST(XlsxRefusals, WhatTheFormCannotCarryIsRefusedNamingTheCell) {
    xls::Workbook error = workbookOf({"first"});
    error.sheets.front().at(2, 1).value = xls::ErrorCode::Div0;
    EXPECT_EQ(refusalOf(error), "Texts!B3: the error value #DIV/0! cannot be written");

    xls::Workbook truth = workbookOf({"first"});
    xls::Formula formula;
    formula.tokens = xls::compileFormula("A1");
    formula.cached = true;
    truth.sheets.front().at(4, 3).formula = formula;
    EXPECT_EQ(refusalOf(truth),
              "Texts!D5: a formula whose result is not a number or text cannot be written with its result");

    const std::string tooLong = refusalOf(workbookOf({"first", std::string(32768, 'y')}));
    EXPECT_EQ(tooLong.rfind("Texts!A2: ", 0), 0u) << tooLong;

    xls::Workbook format = workbookOf({"first"});
    format.sheets.front().at(0, 0).xf = 7;
    EXPECT_EQ(refusalOf(format), "Texts!A1: the cell's format is not in the workbook");
}

}  // namespace
