#include "ManyReports.h"

#include "Alongside.h"
#include "workbook/batch/BatchExit.h"
#include "ReportReceipts.h"
#include "workbook/batch/BatchMessage.h"
#include "workbook/batch/ReportRules.h"
#include "ReportSources.h"
#include "ReportWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <functional>
#include <future>
#include <optional>
#include <vector>

#include <malloc.h>

namespace {

// Silent below this; a longer run tells how far it is, at most once per interval.
constexpr qint64 kProgressAfterMs = 1000;

struct Job {
    QString name;      // in messages
    QString baseName;  // of the outputs
    QString input;     // the report's file, "-" for standard input
    QDir folder;       // that relative receipt paths start from
    std::function<QJsonObject()> read;
};

// Without either workbook option, the .xls alone, as the folder's workbooks have always been.
bool writesXls(const BatchOptions& options) { return options.xlsGiven || !options.xlsxGiven; }

QString workbookExtension(const BatchOptions& options) {
    return writesXls(options) ? QStringLiteral(".xls") : QStringLiteral(".xlsx");
}

std::vector<Job> jobsOf(const BatchOptions& options) {
    std::vector<Job> jobs;
    if (options.reports == QStringList{QStringLiteral("-")}) {
        const auto array = std::make_shared<ReportArray>(ReadReportArrayFromStandardInput());
        for (qsizetype i = 0; i < array->reports.size(); ++i) {
            const QString name = QStringLiteral("report %1 of %2").arg(i + 1).arg(kStandardInputName);
            jobs.push_back({name, QString::number(i + 1), QStringLiteral("-"), QDir(), [array, i, name] {
                                if (!array->reports.at(i).isObject())
                                    throw BadInput(name + QStringLiteral(" is not a JSON object"));
                                if (const std::optional<QString>& key = array->repeatedKeys.at(size_t(i)))
                                    throw KeyGivenTwice(name, *key);
                                return array->reports.at(i).toObject();
                            }});
        }
        return jobs;
    }
    QHash<QString, QString> reportOfBaseName;
    for (const QString& path : options.reports) {
        const QString baseName = QFileInfo(path).completeBaseName();
        if (baseName.isEmpty()) throw BadInput(QStringLiteral("%1 gives no name for its workbook").arg(path));
        if (reportOfBaseName.contains(baseName))
            throw BadInput(QStringLiteral("%1 and %2 would both be written as %3%4")
                               .arg(reportOfBaseName.value(baseName), path, baseName, workbookExtension(options)));
        reportOfBaseName.insert(baseName, path);
        jobs.push_back({QDir::toNativeSeparators(path), baseName, path, QFileInfo(path).dir(),
                        [path] { return ReadReportObject(path); }});
    }
    return jobs;
}

void fail(const BatchFailure& failure, int& worst) {
    SayOnStandardError(failure.message());
    if (worst != kBatchCouldNotWrite) worst = failure.exitCode();
}

// Each report's picture and its encoding take buffers of some megabytes. The C library would hand
// each back to the system when freed and fault its pages in afresh for the next report; keeping
// them in the heap for reuse instead holds the run's memory flat at the size of one report.
void reuseLargeBuffers() {
    constexpr int kLargestMappedAlone = 64 << 20;
    mallopt(M_MMAP_THRESHOLD, kLargestMappedAlone);
    mallopt(M_TRIM_THRESHOLD, 2 * kLargestMappedAlone);
}

class Progress {
public:
    explicit Progress(size_t total) : m_total(total) { m_clock.start(); }

    void done(size_t count) {
        const qint64 elapsed = m_clock.elapsed();
        if (elapsed < kProgressAfterMs || elapsed - m_lastShown < kProgressAfterMs) return;
        m_lastShown = elapsed;
        SayOnStandardError(QStringLiteral("%1 of %2 reports, %3 a second")
                               .arg(count)
                               .arg(m_total)
                               .arg(qRound64(double(count) * 1000.0 / double(elapsed))));
    }

private:
    size_t m_total;
    QElapsedTimer m_clock;
    qint64 m_lastShown = 0;
};

}  // namespace

int WriteManyReports(const BatchOptions& options) {
    if (!QFileInfo(options.outDir).isDir())
        throw BadInput(QStringLiteral("--out-dir %1 is not a folder").arg(QDir::toNativeSeparators(options.outDir)));
    const std::vector<Job> jobs = jobsOf(options);
    const QDir folder(options.outDir);
    reuseLargeBuffers();
    ReportWriter writer;
    Progress progress(jobs.size());
    int worst = kBatchDone;
    // One report's outputs are encoded and written on a thread of their own while the next report
    // is filled in and drawn; messages still come in the order of the reports.
    std::future<void> writing;
    size_t written = 0;
    const auto finishWriting = [&] {
        if (!writing.valid()) return;
        try {
            writing.get();
        } catch (const BatchFailure& failure) {
            fail(failure, worst);
        }
        progress.done(++written);
    };
    for (const Job& job : jobs) {
        std::optional<PreparedReport> prepared;
        std::optional<BatchFailure> failure;
        try {
            const ExpenseReport report = ReportFromJson(job.read(), job.name, job.folder);
            CheckReceipts(report, job.name);
            const auto output = [&](bool wanted, const QString& extension) {
                return wanted ? folder.filePath(job.baseName + extension) : QString();
            };
            prepared = writer.prepare(report, {output(writesXls(options), QStringLiteral(".xls")),
                                               output(options.xlsxGiven, QStringLiteral(".xlsx")),
                                               output(options.pictures, QStringLiteral(".png")),
                                               output(options.pdfs, QStringLiteral(".pdf")), job.input});
        } catch (const BatchFailure& caught) {
            failure = caught;
        }
        finishWriting();
        if (prepared) {
            writing = Alongside([outputs = std::move(*prepared)] { WriteOutputs(outputs); });
        } else {
            fail(*failure, worst);
            progress.done(++written);
        }
    }
    finishWriting();
    return worst;
}
