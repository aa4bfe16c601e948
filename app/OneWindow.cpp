#include "app/OneWindow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <memory>

namespace {

constexpr int kAnswerWaitMs = 10000;
constexpr int kRetryMs = 100;

// The window the user works in now: an open box or dialog before the window below it.
QWidget* FrontWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog))
            return widget;
    return nullptr;
}

void BringToFront() {
    QWidget* window = FrontWindow();
    // While the program starts, nothing is shown yet; its window comes up in front anyway.
    if (!window) return;
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

// The lock names the program that serves the store; the socket is where it listens. Both live in
// the user's private runtime folder, named after the store file.
struct Rendezvous {
    QString lockPath;
    QString socketPath;
};

Rendezvous RendezvousFor(const QString& storeFile, const QString& folder) {
    const QByteArray store = QFile::encodeName(QDir::cleanPath(QDir::current().absoluteFilePath(storeFile)));
    const QString key =
        QStringLiteral("brindlemoor-") +
        QString::fromLatin1(QCryptographicHash::hash(store, QCryptographicHash::Sha256).toHex().left(16));
    const QDir dir(folder);
    return {dir.filePath(key + QStringLiteral(".lock")), dir.filePath(key + QStringLiteral(".socket"))};
}

void Serve(const Rendezvous& rendezvous) {
    // A program killed outright left its socket behind; nobody listens there any more.
    QLocalServer::removeServer(rendezvous.socketPath);
    auto* server = new QLocalServer(QCoreApplication::instance());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(rendezvous.socketPath)) return;
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* request = server->nextPendingConnection()) request->deleteLater();
        BringToFront();
    });
}

bool AskToShow(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kRetryMs)) return false;
    socket.write("show\n");
    const bool sent = socket.waitForBytesWritten(kAnswerWaitMs);
    socket.disconnectFromServer();
    return sent;
}

}  // namespace

StartRole TakeOrHandOverTheWindow(const QString& storeFile) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // Without a private runtime folder there is nowhere safe to meet: every start opens a window.
    if (folder.isEmpty()) return StartRole::OnlyCopy;
    const Rendezvous rendezvous = RendezvousFor(storeFile, folder);
    // Held until the program ends; the system's end of a killed program makes it stale, and the
    // next start takes it over.
    static std::unique_ptr<QLockFile> lock;
    lock = std::make_unique<QLockFile>(rendezvous.lockPath);
    lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(kAnswerWaitMs);
    while (true) {
        if (lock->tryLock(0)) {
            Serve(rendezvous);
            return StartRole::OnlyCopy;
        }
        if (lock->error() != QLockFile::LockFailedError) return StartRole::OnlyCopy;
        // The program holding the lock may still be starting and not listen yet.
        if (AskToShow(rendezvous.socketPath)) return StartRole::HandedOver;
        if (deadline.hasExpired()) return StartRole::NoAnswer;
        QThread::msleep(kRetryMs);
    }
}
