#include "VirtualDisplay.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

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
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString VirtualDisplay::waitForWindow(const QString& titlePattern, int timeoutMs, const QString& except) const {
    QElapsedTimer waited;
    waited.start();
    do {
        const QStringList ids =
            xdotool({"search", "--onlyvisible", "--name", titlePattern}).split('\n', Qt::SkipEmptyParts);
        for (const QString& id : ids)
            if (id != except) return id;
        QTest::qWait(100);
    } while (waited.elapsed() < timeoutMs);
    return {};
}

void VirtualDisplay::screenshot(const QString& path) const {
    run(QStringLiteral("xwd"), {"-root", "-silent", "-display", m_name, "-out", path});
}
