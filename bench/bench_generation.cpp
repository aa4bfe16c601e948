// The whole generation run, click to preview shown, on the sample report and with every text field
// at its limit (offscreen platform).
#include "app/MessageService.h"
#include "support/ResidentSize.h"
#include "app/SettingsStore.h"
#include "preview/Form2.h"
#include "report/Form1.h"
#include "support/EntryFields.h"
#include "workbook/generation/GenerationRun.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

// Clicks "Start Creating Template" and, untimed, goes back for the next round.
void RunToPreview(benchmark::State& state, Form1& form) {
    Form1::setGenerationRun(RunGeneration);
    form.show();
    for (auto _ : state) {
        form.PushButton22->click();
        state.PauseTiming();
        if (!Form2::instance().isVisible()) state.SkipWithError("the preview was not shown");
        Form2::instance().PushButton8->click();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

}  // namespace

static void GenerationRunToPreview(benchmark::State& state) {
    Form1 form;
    form.Form_Load();
    form.PushButton7_Click();
    RunToPreview(state, form);
}
BENCHMARK(GenerationRunToPreview)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Every text field at its 32,767-character limit: the goal is the preview in under 500 ms.
static void GenerationRunAtTextLimit(benchmark::State& state) {
    Form1 form;
    form.Form_Load();
    form.PushButton7_Click();
    FillTextFieldsTo(form, kMaxFieldText);
    RunToPreview(state, form);
}
BENCHMARK(GenerationRunAtTextLimit)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// The entry window at rest after each of 100 runs and the way back: its resident size must stay level.
static void EntryWindowResidentOverRuns(benchmark::State& state) {
    constexpr int kRuns = 100;
    Form1 form;
    form.Form_Load();
    form.PushButton7_Click();
    Form1::setGenerationRun(RunGeneration);
    form.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        std::vector<double> sizes;
        for (int run = 0; run < kRuns; ++run) {
            form.PushButton22->click();
            if (!Form2::instance().isVisible()) {
                state.SkipWithError("the preview was not shown");
                return;
            }
            Form2::instance().PushButton8->click();
            QCoreApplication::processEvents();
            sizes.push_back(ResidentMb(getpid()));
        }
        CountResidentSizes(state, sizes);
    }
}
BENCHMARK(EntryWindowResidentOverRuns)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir store;
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", store.path().toUtf8());
    qputenv("temp", scratch.path().toUtf8());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    SetMessageHandler([](const MessageRequest&) { return kMsgOk; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
