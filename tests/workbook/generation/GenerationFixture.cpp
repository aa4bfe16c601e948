#include "GenerationFixture.h"

#include "app/ProgramEnd.h"
#include "app/ProgramFolders.h"
#include "app/SettingsStore.h"
#include "SaveDialog.h"
#include "workbook/generation/GenerationRun.h"

#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTest>

void GenerationTest::SetUp() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("XDG_CONFIG_HOME", m_store.path().toUtf8());
    ReloadSettingsLocation();
    setScratchBase(m_scratchBase.path());
    SetMessageHandler([this](const MessageRequest& request) {
        boxes.push_back(request);
        return request.buttons == MsgButtons::YesNo ? kMsgYes : kMsgOk;
    });
    SetEndProgramHandler([this] { ++endRequests; });
    SetSaveDialogHandler([this](QWidget*, const QString&, const QString&) {
        return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
    });
    Form1::setGenerationRun(RunGeneration);
    m_form = std::make_unique<Form1>();
    m_form->Form_Load();
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    Form2::instance().hide();
}

void GenerationTest::TearDown() {
    Form2::instance().hide();
    m_form.reset();
    Form1::setGenerationRun({});
    SetSaveDialogHandler({});
    SetEndProgramHandler({});
    SetMessageHandler({});
    qunsetenv("temp");
    qunsetenv("XDG_CONFIG_HOME");
    ReloadSettingsLocation();
}

QString GenerationTest::scratchFolder() const { return ScratchFolder(); }

void GenerationTest::setScratchBase(const QString& path) { qputenv("temp", QFile::encodeName(path)); }

void GenerationTest::click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

QStringList GenerationTest::takeMessages() {
    QStringList texts;
    for (const MessageRequest& box : boxes) texts << box.text;
    boxes.clear();
    return texts;
}

QString GenerationTest::readTotals(const QString& reader, const QString& path) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/generation/read_totals.py"), reader, path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromUtf8(python.readAllStandardError());
    return QString::fromUtf8(python.readAllStandardOutput()).trimmed();
}
