#include "GoldenImage.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

double DifferingShare(const QImage& a, const QImage& b, int tolerance) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                         std::abs(qBlue(p) - qBlue(q)) > tolerance;
        }
    return double(differing) / (a.width() * a.height());
}

bool UpdateGoldenRequested(const QImage& drawn, const QString& goldenPath) {
    if (qEnvironmentVariableIntValue("BRINDLEMOOR_UPDATE_GOLDEN") != 1) return false;
    QDir().mkpath(QFileInfo(goldenPath).absolutePath());
    return drawn.save(goldenPath);
}

QString GoldenMismatch(const QImage& drawn, const QString& goldenPath) {
    const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_RGB32);
    if (golden.isNull()) return QStringLiteral("missing ") + goldenPath;
    const QImage picture = drawn.convertToFormat(QImage::Format_RGB32);
    if (picture.size() != golden.size())
        return QStringLiteral("size %1x%2, golden %3x%4")
            .arg(picture.width())
            .arg(picture.height())
            .arg(golden.width())
            .arg(golden.height());
    const double slight = DifferingShare(picture, golden, 24);
    const double strong = DifferingShare(picture, golden, 160);
    if (slight <= 0.03 && strong <= 0.005) return {};
    return QStringLiteral("%1 of pixels differ slightly, %2 strongly").arg(slight).arg(strong);
}
