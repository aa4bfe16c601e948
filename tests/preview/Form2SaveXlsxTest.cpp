// Saving the result workbook as an Excel Workbook from the preview window's save dialog: chosen by
// an ".xlsx" name in any case or by its filter, with the overwrite question, "Done." and the
// all-or-nothing replace of the other formats; the saved file holds what the .xls holds.
#include "SaveFixture.h"
#include "support/FileBytes.h"
#include "SampleResultWorkbook.h"
#include "SaveDialog.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

const QString kXlsxFilter = QStringLiteral("Excel Workbook (*.xlsx)");
const QString kWorkbookFilter = QStringLiteral("Excel Files (*.xls)");

class Form2SaveXlsx : public SaveFixture {
protected:
    // "M27 M29" of a workbook as an independent reader reads the cached results.
    static QString totals(const QString& workbook, bool xlsx) {
        const QString read = xlsx ? QStringLiteral(
                                        "import openpyxl; s = openpyxl.load_workbook(sys.argv[1], "
                                        "data_only=True).worksheets[0]; v = [s['M27'].value, s['M29'].value]")
                                  : QStringLiteral(
                                        "import xlrd; s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0); "
                                        "v = [s.cell_value(26, 12), s.cell_value(28, 12)]");
        QProcess python;
        python.start(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import sys; ") + read + QStringLiteral("; print(' '.join('%.2f' % x for x in v))"),
             workbook});
        python.waitForFinished(60000);
        return QString::fromUtf8(python.readAllStandardOutput()).trimmed() +
               QString::fromUtf8(python.readAllStandardError());
    }
};

TEST_F(Form2SaveXlsx, AnXlsxNameInAnyCaseOrTheFilterWritesTheWorkbookAsAnExcelWorkbook) {
    saveAs(out(QStringLiteral("report.XLSX")), kWorkbookFilter);
    saveAs(out(QStringLiteral("chosen")), kXlsxFilter);
    saveAs(out(QStringLiteral("plain.xls")), kXlsxFilter);
    EXPECT_EQ(requests, QStringList(3, QStringLiteral("Save File|Excel Files (*.xls);;PDF Files (*.pdf);;Excel "
                                                      "Workbook (*.xlsx)")));
    EXPECT_EQ(notices(), QStringList(3, QStringLiteral("Done.")));
    EXPECT_EQ(errorBoxes(), 0);
    EXPECT_EQ(written(),
              (QStringList{QStringLiteral("chosen.xlsx"), QStringLiteral("plain.xls"), QStringLiteral("report.XLSX")}))
        << "no temporary file is left behind";
    EXPECT_EQ(Contents(out(QStringLiteral("plain.xls"))), Contents(form->mExcelFile.path()));
    EXPECT_TRUE(Contents(out(QStringLiteral("chosen.xlsx"))).startsWith("PK\x03\x04"));
    EXPECT_EQ(totals(out(QStringLiteral("report.XLSX")), true), QStringLiteral("448.94 448.94"));
    EXPECT_EQ(totals(out(QStringLiteral("chosen.xlsx")), true), totals(form->mExcelFile.path(), false));
}

TEST_F(Form2SaveXlsx, TheOverwriteQuestionGuardsAnExistingXlsx) {
    const QString old = out(QStringLiteral("old.xlsx"));
    Write(old, "the old excel workbook");
    answer = kMsgNo;
    saveAs(out(QStringLiteral("old")), kXlsxFilter);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Are you sure you wish to overwrite ") + old + QStringLiteral(" ?"));
    EXPECT_EQ(messages[1].text, QStringLiteral("Done."));
    EXPECT_EQ(Contents(old), QByteArray("the old excel workbook"));

    answer = kMsgYes;
    saveAs(old, kWorkbookFilter);
    EXPECT_EQ(errorBoxes(), 0);
    EXPECT_EQ(written(), QStringList{QStringLiteral("old.xlsx")});
    EXPECT_EQ(totals(old, true), QStringLiteral("448.94 448.94"));
}

TEST_F(Form2SaveXlsx, AResultThatCannotBeReadReportsTheStatementAndKeepsWhatWasThere) {
    const QString old = out(QStringLiteral("old.xlsx"));
    Write(old, "the old excel workbook");
    Write(form->mExcelFile.path(), "not a workbook");
    saveAs(old, kXlsxFilter);
    EXPECT_EQ(errorBoxes(), 1);
    bool named = false;
    for (const MessageRequest& m : messages)
        named = named || (m.text.contains(QStringLiteral("cannot be saved as an Excel Workbook")) &&
                          m.text.contains(QStringLiteral("at line 134")));
    EXPECT_TRUE(named);
    EXPECT_FALSE(notices().contains(QStringLiteral("Done.")));
    EXPECT_EQ(Contents(old), QByteArray("the old excel workbook"));
    EXPECT_EQ(written(), QStringList{QStringLiteral("old.xlsx")});
    EXPECT_FALSE(form->mSaving);
}

}  // namespace
