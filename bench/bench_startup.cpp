// Start-up to the shown entry window: construct Form1, run its load, show it, let it paint.
#include "app/SettingsStore.h"
#include "report/Form1.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_StartupToShownWindow(benchmark::State& state) {
    for (auto _ : state) {
        Form1 form;
        form.Form_Load();
        form.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.isVisible());
    }
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private store; the first start that fills it is done before timing, as for a returning user.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    {
        Form1 first;
        first.Form_Load();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
