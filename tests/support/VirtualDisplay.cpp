#include "VirtualDisplay.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// A window dump as xwd writes it: a big-endian header, a colour map, then 32-bit pixels in the
// server's byte order.
std::optional<QImage> ReadXwd(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    constexpr int kHeaderFields = 25;
    if (bytes.size() < kHeaderFields * 4) return std::nullopt;
    const auto field = [&](int index) { return qFromBigEndian<quint32>(bytes.constData() + 4 * index); };
    const quint32 headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7),
                  bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
    const qint64 pixels = qint64(headerSize) + 12 * qint64(colours);
    if (bitsPerPixel != 32 || pixels + qint64(bytesPerLine) * height > bytes.size()) return std::nullopt;
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (int y = 0; y < int(height); ++y) {
        const char* line = bytes.constData() + pixels + qint64(bytesPerLine) * y;
        for (int x = 0; x < int(width); ++x) {
            const quint32 value =
                byteOrder == 0 ? qFromLittleEndian<quint32>(line + 4 * x) : qFromBigEndian<quint32>(line + 4 * x);
            image.setPixel(x, y, 0xFF000000u | value);
        }
    }
    return image;
}

// How many starts a client gets when the server refuses it.
constexpr int kAttempts = 3;

// What Qt's xcb platform, xdotool and xwd say when the server did not let them in.
bool RefusedByServer(const QByteArray& standardError) {
    return standardError.contains("could not connect to display") || standardError.contains("Can't open display") ||
           standardError.contains("unable to open display");
}

// The program's standard error so far, left for the test to read.
QByteArray PeekStandardError(QProcess& process) {
    const QProcess::ProcessChannel channel = process.readChannel();
    process.setReadChannel(QProcess::StandardError);
    const QByteArray text = process.peek(process.bytesAvailable());
    process.setReadChannel(channel);
    return text;
}

}  // namespace

VirtualDisplay::VirtualDisplay(const QString& screen) {
    // Xvfb picks a free display itself and writes its number to standard output, so parallel
    // tests never race for one.
    m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
    if (!m_server.waitForStarted(5000)) return;
    QElapsedTimer waited;
    waited.start();
    QByteArray number;
    while (!number.endsWith('\n') && m_server.state() == QProcess::Running && waited.elapsed() < 10000) {
        m_server.waitForReadyRead(100);
        number += m_server.readAllStandardOutput();
    }
    if (number.trimmed().isEmpty() || m_server.state() != QProcess::Running) return;
    m_name = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
}

VirtualDisplay::~VirtualDisplay() {
    m_server.terminate();
    m_server.waitForFinished(5000);
}

bool VirtualDisplay::available() {
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

QProcessEnvironment VirtualDisplay::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_name);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    return environment;
}

QString VirtualDisplay::run(const QString& program, const QStringList& arguments) const {
    // Beside other servers starting and stopping, a connection is now and then refused, and the
    // same client made again a moment later gets in; a click or key lost so would fail the test.
    for (int attempt = 0;; ++attempt) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        process.waitForFinished(10000);
        const bool refused = process.exitCode() != 0 && RefusedByServer(process.readAllStandardError());
        if (!refused || attempt == kAttempts - 1) return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        QTest::qWait(50);
    }
}

QStringList VirtualDisplay::visibleWindows(const QString& titlePattern) const {
    return xdotool({"search", "--onlyvisible", "--name", titlePattern}).split('\n', Qt::SkipEmptyParts);
}

QString VirtualDisplay::findWindow(const QString& titlePattern, const QString& except) const {
    for (const QString& id : visibleWindows(titlePattern))
        if (id != except) return id;
    return {};
}

QString VirtualDisplay::waitForWindow(const QString& titlePattern, int timeoutMs, const QString& except) const {
    QElapsedTimer waited;
    waited.start();
    do {
        const QString id = findWindow(titlePattern, except);
        if (!id.isEmpty()) return id;
        QTest::qWait(100);
    } while (waited.elapsed() < timeoutMs);
    return {};
}

QString VirtualDisplay::startWithWindow(QProcess& process, const QString& program, const QString& titlePattern,
                                        int timeoutMs) const {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        process.start(program, {});
        if (!process.waitForStarted(10000)) return {};
        QElapsedTimer waited;
        waited.start();
        do {
            const QString id = findWindow(titlePattern, {});
            if (!id.isEmpty()) return id;
            QTest::qWait(100);
        } while (process.state() != QProcess::NotRunning && waited.elapsed() < timeoutMs);
        if (process.state() != QProcess::NotRunning || !RefusedByServer(PeekStandardError(process))) return {};
    }
    return {};
}

void VirtualDisplay::screenshot(const QString& path) const {
    run(QStringLiteral("xwd"), {"-root", "-silent", "-display", m_name, "-out", path});
}

std::optional<QImage> VirtualDisplay::windowImage(const QString& window) const {
    QTemporaryDir folder;
    if (!folder.isValid()) return std::nullopt;
    const QString dump = folder.filePath(QStringLiteral("window.xwd"));
    run(QStringLiteral("xwd"), {"-id", window, "-silent", "-out", dump});
    return ReadXwd(dump);
}
