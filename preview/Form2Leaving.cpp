// The preview's part in the result workbook: saving copies of it or its PDF, going back, closing.
#include "preview/Form2.h"

#include "app/ProgramEnd.h"
#include "app/ErrorHandler.h"
#include "app/FileService.h"
#include "app/MessageService.h"
#include "app/OutputTarget.h"
#include "PreviewError.h"
#include "SaveDialog.h"
#include "SaveTarget.h"
#include "TopLevelWindows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

void Form2::PushButton6_Click() {
    ErrorHandler eh(QStringLiteral("Form2.PushButton6_Click"));
    if (mSaving) return;
    mSaving = true;

    SaveDialogAnswer choice;
    eh.step(116, [&] { choice = ShowSaveDialog(this, QStringLiteral("Save File"), SaveFilters()); });
    const SaveTarget target = SaveTargetOf(choice);
    const QString& path = target.path;
    int answer = 0;
    bool saved = true;
    if (!eh.test(120, [&] { return path.isEmpty(); })) {
        // Through a link the question names the file that would really be replaced; a link that
        // another user planted in a shared folder is not followed at all.
        QString replaced = path;
        try {
            if (QFileInfo(path).isSymLink()) replaced = QDir::toNativeSeparators(ResolveOutputTarget(path).path);
        } catch (const AppError& refusal) {
            MsgBox(QString::fromStdString(refusal.what()));
            mSaving = false;
            return;
        }
        if (eh.test(122, [&] { return FileExists(path); }))
            eh.step(124, [&] {
                answer = MsgBox(QStringLiteral("Are you sure you wish to overwrite ") + replaced + QStringLiteral(" ?"),
                                MsgButtons::YesNo);
            });
        if (eh.test(130, [&] { return !FileExists(path); })) answer = kMsgYes;
        // The old file is only replaced once the new one is complete, so a failed save leaves it as it was.
        if (answer == kMsgYes)
            eh.step(134, [&] {
                saved = false;
                target.format->write(mExcelFile.path(), mReceipts, path);
                saved = true;
            });
    }
    if (saved) eh.step(136, [&] { MsgBox(QStringLiteral("Done.")); });
    mSaving = false;
}

void Form2::PushButton8_Click() {
    ErrorHandler eh(QStringLiteral("Form2.PushButton8_Click"));
    eh.step(102, [&] { mExcelFile.remove(); });
    eh.step(104, [&] {
        QWidget* entryWindow = FindTopLevelWidget(QStringLiteral("Form1"));
        if (!entryWindow) throw PreviewError(QStringLiteral("The entry window is not loaded"));
        entryWindow->show();
    });
    eh.step(106, [&] { hide(); });
}

void Form2::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

void Form2::Form_QueryUnload() {
    ErrorHandler eh(QStringLiteral("Form2.Form_QueryUnload"));
    eh.step(100, [&] { mExcelFile.remove(); });
    eh.step(102, [] { QCoreApplication::processEvents(); });
    eh.step(104, [] { QCoreApplication::processEvents(); });
}

void Form2::Form_Unload() { EndProgram(); }
