#include "PdfTools.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
};

Run Tool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, arguments);
    if (!process.waitForFinished(120000)) return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

}  // namespace

QString MissingPdfTool() {
    for (const char* tool : {"pdfinfo", "pdftotext", "pdfimages", "qpdf"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) return QLatin1String(tool);
    return {};
}

int PdfPageCount(const QString& pdf) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Tool(QStringLiteral("pdfinfo"), {pdf}).output);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

std::vector<QSizeF> PdfPageSizes(const QString& pdf) {
    const QString info =
        Tool(QStringLiteral("pdfinfo"),
             {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QString::number(PdfPageCount(pdf)), pdf})
            .output;
    std::vector<QSizeF> sizes;
    static const QRegularExpression size(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        sizes.emplace_back(match.captured(1).toDouble(), match.captured(2).toDouble());
    }
    return sizes;
}

QString PdfPageText(const QString& pdf, int page) {
    return Tool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                              QString::number(page), pdf, QStringLiteral("-")})
        .output;
}

std::vector<PdfImage> PdfImages(const QString& pdf) {
    std::vector<PdfImage> images;
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    const QStringList lines = Tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).output.split('\n');
    for (const QString& line : lines.mid(2)) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() < 14) continue;
        images.push_back({fields[0].toInt(), fields[3].toInt(), fields[4].toInt(), fields[8], fields[12].toInt(),
                          fields[13].toInt()});
    }
    return images;
}

QString PdfStructureProblems(const QString& pdf) {
    const Run check = Tool(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
    return check.exitCode == 0 && !check.output.contains(QLatin1String("WARNING")) ? QString() : check.output;
}
