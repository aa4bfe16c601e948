#include "VirtualDisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

VirtualDisplay::VirtualDisplay() {
    for (int number = 90 + int(QCoreApplication::applicationPid() % 50); number < 200; ++number) {
        if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
            QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            continue;
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral(":%1").arg(number), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        if (!m_server.waitForStarted(5000)) return;
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) && waited.elapsed() < 10000)
            QTest::qWait(50);
        if (m_server.state() == QProcess::Running) m_name = QStringLiteral(":%1").arg(number);
        return;
    }
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
        const QStringList ids = xdotool({"search", "--onlyvisible", "--name", titlePattern}).split('\n', Qt::SkipEmptyParts);
        for (const QString& id : ids)
            if (id != except) return id;
        QTest::qWait(100);
    } while (waited.elapsed() < timeoutMs);
    return {};
}

void VirtualDisplay::screenshot(const QString& path) const {
    run(QStringLiteral("xwd"), {"-root", "-silent", "-display", m_name, "-out", path});
}
