// One keystroke's durable store write, and the reads of a start-up, against a store of the full
// report size in a private config folder.
#include "app/SettingsStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int kReportKeys = 171;

QString Key(int i) { return QStringLiteral("txtField%1").arg(i); }

void FillStore() {
    for (int i = 0; i < kReportKeys; ++i)
        SaveSetting(kSettingsApp, kSettingsSection, Key(i), QStringLiteral("$1,234.57"));
}

// The mean hides nothing but the disk's occasional stall (and, beside a large value, the whole
// rewrites that keep the file small); the target is the median of single writes.
void MeasureKeystrokes(benchmark::State& state) {
    QString text;
    std::vector<double> micros;
    for (auto _ : state) {
        text += QLatin1Char('x');
        if (text.size() > 60) text.clear();
        const auto start = std::chrono::steady_clock::now();
        SaveSetting(kSettingsApp, kSettingsSection, QStringLiteral("txtNotes1"), text);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p90_us"] = micros[micros.size() * 9 / 10];
}

void BM_KeystrokeWrite(benchmark::State& state) {
    FillStore();
    MeasureKeystrokes(state);
}
BENCHMARK(BM_KeystrokeWrite);

// A 10 MB value elsewhere in the store: a keystroke costs what it changes, not the store's size.
void BM_KeystrokeWriteBesideALargeValue(benchmark::State& state) {
    FillStore();
    SaveSetting(kSettingsApp, kSettingsSection, QStringLiteral("txtNotes2"), QString(10 << 20, QLatin1Char('n')));
    MeasureKeystrokes(state);
}
BENCHMARK(BM_KeystrokeWriteBesideALargeValue);

void BM_RestoreReport(benchmark::State& state) {
    FillStore();
    for (auto _ : state)
        for (int i = 0; i < kReportKeys; ++i)
            benchmark::DoNotOptimize(GetSetting(kSettingsApp, kSettingsSection, Key(i), QString()));
}
BENCHMARK(BM_RestoreReport);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // On the disk that holds the build, not a memory file system, so the sync costs what it costs.
    QTemporaryDir config(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-config-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
