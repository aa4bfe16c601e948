#include "ResidentSize.h"

#include <QFile>

#include <algorithm>

double ResidentMb(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

void CountResidentSizes(benchmark::State& state, const std::vector<double>& sizes) {
    if (sizes.empty()) return;
    std::vector<double> sorted = sizes;
    std::sort(sorted.begin(), sorted.end());
    state.counters["rss_first_mb"] = sizes.front();
    state.counters["rss_median_mb"] = sorted[sorted.size() / 2];
    state.counters["rss_max_mb"] = sorted.back();
    state.counters["rss_last_mb"] = sizes.back();
}
