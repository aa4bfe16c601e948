#include "workbook/generation/GenerationRun.h"

#include "app/PointerKinds.h"
#include "app/WindowFreeze.h"
#include "app/ErrorHandler.h"
#include "app/InputHold.h"
#include "app/ProgramFolders.h"
#include "app/ScratchFile.h"
#include "preview/Form2.h"
#include "receipts/HandInPdf.h"
#include "report/Form1.h"
#include "workbook/Excel1.h"
#include "workbook/HostConnection.h"
#include "workbook/TemplateFill.h"
#include "ScratchFiles.h"
#include "workbook/host/HostError.h"
#include "PictureFile.h"
#include "SheetSnapshot.h"
#include "workbook/template/TemplateBytes.h"

#include <QDir>
#include <QImage>

#include <optional>

namespace {

// Everything the run holds between its statements.
struct RunState {
    QString scratch;
    QString templatePath;
    QString snapshotPath;
    QString resultPath;
    // What the run has put in the scratch folder, removed on every way out of it but the hand-over.
    ScratchFile templateCopy;
    ScratchFile snapshot;
    ScratchFile result;
    QByteArray templateBytes;
    std::shared_ptr<host::Application> previewInstance;
    std::shared_ptr<host::Workbook> previewBook;
    QImage picture;
    bool hostStarted = false;
    bool saved = false;
};

// A failure that leaves nothing to preview: the box has been shown; put the entry window back as
// it was and remove what the run left in the scratch folder.
void AbandonRun(Form1& form, RunState& state) {
    if (xlApp) {
        try {
            xlApp->setDisplayAlerts(false);
            xlApp->Quit();
        } catch (...) {
            // The instance may already have quit; it is dropped either way.
        }
        ReleaseExcel();
    }
    if (state.previewInstance) {
        try {
            state.previewInstance->Quit();
        } catch (...) {
        }
    }
    form.pointer().setKind(kPointerDefault);
    for (ScratchFile* file : {&state.snapshot, &state.templateCopy, &state.result}) file->remove();
    LockWindowUpdate(nullptr);
}

// What a failed earlier statement left empty fails here with a description, as a host call would.
template <class Object>
Object& Require(const std::shared_ptr<Object>& object) {
    if (!object) throw host::HostError(QStringLiteral("The result workbook is not open in the spreadsheet host."));
    return *object;
}

}  // namespace

void RunGeneration(Form1& form) {
    // Presses that arrive during the run (a second or third press of Start) were meant for the
    // entry window as it was; none of them reaches the preview or starts another run.
    const UserInputHold heldInput;
    ErrorHandler handler(QStringLiteral("Form1.PushButton22_Click"));
    RunState state;
    std::shared_ptr<host::Workbook> xlBook;

    handler.step(100, [&] { LockWindowUpdate(&form); });
    handler.step(102, [&] { form.pointer().setKind(kPointerHourglass); });
    handler.step(104, [&] {
        CreateExcel();
        state.hostStarted = true;
    });
    if (!state.hostStarted) return AbandonRun(form, state);

    handler.step(106, [&] {
        state.templateBytes = TemplateBytes();
        state.scratch = ScratchFolder();
        state.templatePath = QDir(state.scratch).filePath(kTemplateCopyName);
        state.snapshotPath = QDir(state.scratch).filePath(kSnapshotName);
        state.templateCopy = ScratchFile(state.templatePath);
        state.snapshot = ScratchFile(state.snapshotPath);
    });
    if (state.scratch.isEmpty()) return AbandonRun(form, state);
    if (handler.test(108, [&] { return !TemplateCopyIsCurrent(state.templatePath, state.templateBytes); }))
        handler.step(108, [&] { WriteBytesToFile(state.templateBytes, state.templatePath); });
    const StatementRunner runner = [&](int line, const std::function<void()>& statement) {
        handler.step(line, statement);
    };
    xlBook = OpenFilledTemplate(*xlApp, {state.templatePath, {}}, form.report(), runner);
    if (!xlBook) return AbandonRun(form, state);

    handler.step(186, [&] { xlApp->setVisible(false); });
    handler.step(188, [&] { form.pointer().setKind(kPointerDefault); });
    do {
        QString name;
        handler.step(190, [&] { name = kResultPrefix; });
        for (int digit = 0; digit < 8; ++digit) handler.step(196, [&] { name += QString::number(DrawNameDigit()); });
        handler.step(202, [&] { state.resultPath = QDir(state.scratch).filePath(name + kResultExtension); });
    } while (handler.test(204, [&] { return ScratchNameTaken(state.resultPath); }));
    // Held from before its save, so that no way out of the run or the program leaves it behind.
    state.result = ScratchFile(state.resultPath);
    handler.step(206, [&] {
        xlBook->SaveAs(state.resultPath, GetSaveFormat(xlApp));
        state.saved = true;
    });
    if (!state.saved) return AbandonRun(form, state);

    handler.step(208, [&] { xlApp->setDisplayAlerts(false); });
    handler.step(210, [&] { xlBook->Close(); });
    handler.step(212, [&] { xlApp->Quit(); });
    handler.step(214, [&] { ReleaseExcel(); });

    handler.step(216, [&] { state.previewInstance = OpenInNewExcel(state.resultPath); });
    handler.step(218, [&] { form.pointer().setKind(kPointerHourglass); });
    handler.step(220, [&] {
        auto workbooks = Require(state.previewInstance).Workbooks();
        state.previewBook = workbooks(workbooks.Count());
    });
    handler.step(222, [&] { saveCellsActivesheet(state.previewBook, state.snapshotPath); });
    handler.step(224, [&] { Require(state.previewInstance).setDisplayAlerts(false); });
    handler.step(226, [&] { Require(state.previewBook).Close(); });
    handler.step(228, [&] { Require(state.previewInstance).Quit(); });
    handler.step(230, [&] { form.pointer().setKind(kPointerDefault); });
    handler.step(232, [&] {
        try {
            state.picture = LoadPictureFile(state.snapshotPath);
        } catch (const host::HostError&) {
            throw host::HostError(QStringLiteral("The picture of the sheet could not be loaded from %1.")
                                      .arg(QDir::toNativeSeparators(state.snapshotPath)));
        }
    });
    if (state.picture.isNull()) return AbandonRun(form, state);

    Form2& preview = Form2::instance();
    handler.step(232, [&] { preview.setPicture(state.picture); });
    handler.step(234, [&] { preview.mExcelFile = std::move(state.result); });
    handler.step(234, [&] { preview.mReceipts = ReceiptsToHandIn(form.report()); });
    handler.step(236, [&] { preview.show(); });
    handler.step(238, [&] { form.hide(); });
    handler.step(240, [&] { state.snapshot.remove(); });
    handler.step(242, [&] { state.templateCopy.remove(); });
    handler.step(244, [&] { LockWindowUpdate(nullptr); });
}
