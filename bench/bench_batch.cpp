// brindlemoor-batch as scripts run it, each iteration a whole process: one report with its
// picture (start-up, fonts, template, fill, picture, save), and 1,000 reports in one process with
// and without pictures, and as Excel Workbooks alone (the goal: under 2 s). peak_rss_mb is the
// largest resident size a run reached, for 100 and 1,000 reports: it must stay flat. child_cpu_ms
// is the processor time the runs took, user and system, per iteration: on a shared machine it moves
// less than the wall-clock time.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

#include <sys/resource.h>
#include <sys/wait.h>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch");

// A report with every kind of field filled: the sample a clerk would send.
QByteArray sampleReport(int number) {
    QByteArray json = "{\"txtPurpose\": \"Trip " + QByteArray::number(number) +
                      "\", \"txtName\": \"Ada Clerk\", \"dtpFrom\": \"2016-11-05\", \"dtpTo\": \"2016-11-12\"";
    for (int row = 0; row < 6; ++row) {
        json += ", \"DTPicker2" + QByteArray::number(row) + "\": \"2016-11-1" + QByteArray::number(row) + "\"";
        json += ", \"txtDesc" + QByteArray::number(row) + "\": \"Client visit\", \"txtHotel" + QByteArray::number(row) +
                "\": \"$118.74\", \"txtMeals" + QByteArray::number(row) + "\": 12.5";
    }
    return json + "}";
}

// Outputs go to memory when the system has a tmpfs: what is measured is the program, not the disk.
// An ext4 without a journal, for one, searches past recently deleted inodes for each new file, and
// these runs delete thousands of files between them.
QString outputFolderTemplate() {
    const QString shared = QStringLiteral("/dev/shm");
    const QString name = QStringLiteral("/bench_batch-XXXXXX");
    return QFileInfo(shared).isWritable() ? shared + name : QDir::tempPath() + name;
}

// Processor time of all finished children so far.
double childCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& time) { return double(time.tv_sec) * 1000.0 + double(time.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs the program to the end; the peak resident size of its process in MB, or -1 on failure.
double runToEnd(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(kProgram, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        std::fprintf(stderr, "exit %d: %s\n", process.exitCode(), process.readAllStandardError().constData());
        return -1;
    }
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);  // the largest of all children so far
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_OneReportWithPictureWholeProcess(benchmark::State& state) {
    QTemporaryDir folder(outputFolderTemplate());
    QFile report(folder.filePath(QStringLiteral("r.json")));
    report.open(QIODevice::WriteOnly);
    report.write(sampleReport(1));
    report.close();
    const QStringList arguments{QStringLiteral("--locale"),  QStringLiteral("en_US"),
                                QStringLiteral("--report"),  report.fileName(),
                                QStringLiteral("--xls"),     folder.filePath(QStringLiteral("o.xls")),
                                QStringLiteral("--picture"), folder.filePath(QStringLiteral("o.png"))};
    const double cpuBefore = childCpuMs();
    for (auto _ : state)
        if (runToEnd(arguments) < 0) state.SkipWithError("the run failed");
    state.counters["child_cpu_ms"] = benchmark::Counter(childCpuMs() - cpuBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OneReportWithPictureWholeProcess)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_ManyReportsInOneProcess(benchmark::State& state) {
    const int count = int(state.range(0));
    const bool pictures = state.range(1) != 0;
    const bool xlsx = state.range(2) != 0;
    QTemporaryDir folder(outputFolderTemplate());
    QByteArray array = "[";
    for (int i = 0; i < count; ++i) array += (i ? "," : "") + sampleReport(i);
    array += "]";
    QStringList arguments{QStringLiteral("--locale"), QStringLiteral("en_US"), QStringLiteral("--out-dir"),
                          folder.path()};
    if (pictures) arguments << QStringLiteral("--picture");
    if (xlsx) arguments << QStringLiteral("--xlsx");
    arguments << QStringLiteral("-");
    double peak = 0;
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        peak = runToEnd(arguments, array);
        if (peak < 0) state.SkipWithError("the run failed");
    }
    state.counters["peak_rss_mb"] = peak;
    state.counters["child_cpu_ms"] = benchmark::Counter(childCpuMs() - cpuBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ManyReportsInOneProcess)
    ->ArgNames({"reports", "pictures", "xlsx"})
    ->Args({100, 1, 0})
    ->Args({1000, 1, 0})
    ->Args({1000, 0, 0})
    ->Args({1000, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
