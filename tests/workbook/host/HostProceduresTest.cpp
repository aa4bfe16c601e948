#include "TemplateFile.h"
#include "workbook/Excel1.h"
#include "workbook/HostConnection.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class LocalePinned : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    static void useGerman() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
};

using DecimalSeparator = LocalePinned;

TEST_F(DecimalSeparator, IsTheLocalesSeparator) {
    EXPECT_EQ(GetDecimalSeparator(), QStringLiteral("."));
    useGerman();
    EXPECT_EQ(GetDecimalSeparator(), QStringLiteral(","));
}

TEST_F(DecimalSeparator, ConversionReplacesEveryOccurrence) {
    EXPECT_EQ(ConvertDecimalSeparator(QStringLiteral("16,0"), false), QStringLiteral("16.0"));
    EXPECT_EQ(ConvertDecimalSeparator(QStringLiteral("1,2.3"), false), QStringLiteral("1.2.3"));
    useGerman();
    EXPECT_EQ(ConvertDecimalSeparator(QStringLiteral("16.0"), false), QStringLiteral("16,0"));
    EXPECT_EQ(ConvertDecimalSeparator(QStringLiteral("1,5,6"), true), QStringLiteral("1.5.6"));
}

using SaveFormat = LocalePinned;

TEST_F(SaveFormat, HostsBeforeVersion12SaveInTheNormalFormat) {
    EXPECT_EQ(SaveFormatForVersion(QStringLiteral("11.0")), -4143);
    for (const char* version : {"12.0", "14.0", "15.0", "16.0"})
        EXPECT_EQ(SaveFormatForVersion(QString::fromLatin1(version)), 56) << version;
    EXPECT_EQ(SaveFormatForVersion(QStringLiteral("16,0")), 56);
    EXPECT_THROW(SaveFormatForVersion(QStringLiteral("sixteen")), host::HostError);
    EXPECT_THROW(SaveFormatForVersion(QStringLiteral("40000.0")), host::HostError);
}

TEST_F(SaveFormat, CommaLocalesReadThePointedVersion) {
    useGerman();
    EXPECT_EQ(SaveFormatForVersion(QStringLiteral("11.0")), -4143);
    EXPECT_EQ(SaveFormatForVersion(QStringLiteral("16.0")), 56);
}

TEST_F(SaveFormat, AskTheGivenOrATemporaryInstance) {
    EXPECT_EQ(GetSaveFormat(), 56);
    EXPECT_EQ(GetSaveFormat(host::CreateObject(QStringLiteral("Excel.Application"))), 56);
    useGerman();
    EXPECT_EQ(GetSaveFormat(), 56);
}

TEST_F(SaveFormat, AQuitInstanceFails) {
    const auto instance = host::CreateObject(QStringLiteral("Excel.Application"));
    instance->Quit();
    EXPECT_THROW(GetSaveFormat(instance), host::HostError);
}

TEST(HostConnection, CreateAndReleaseFillAndEmptyXlApp) {
    CreateExcel();
    ASSERT_TRUE(xlApp);
    const auto instance = xlApp;
    ReleaseExcel();
    EXPECT_FALSE(xlApp);
    EXPECT_NO_THROW(instance->Version());  // released, not quit
}

TEST(HostConnection, OpenInNewExcelOpensTheWorkbookInANewInstance) {
    QTemporaryDir folder;
    const QString path = WriteTemplateFile(folder.path());
    const auto first = OpenInNewExcel(path);
    const auto second = OpenInNewExcel(path);
    EXPECT_NE(first, second);
    EXPECT_EQ(second->Workbooks().Count(), 1);
    EXPECT_THROW(OpenInNewExcel(folder.filePath(QStringLiteral("missing.xls"))), host::HostError);
}

}  // namespace
