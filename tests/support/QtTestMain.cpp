// Test entry point for tests that need widgets: a QApplication on the offscreen platform unless a
// platform was chosen, United States settings unless a test pins another locale.
#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    // The output module is built beside the programs, not beside each test.
    QApplication::addLibraryPath(QStringLiteral(BRINDLEMOOR_BINARY_DIR));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
