#include "app/OneWindow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <cstring>
#include <memory>
#include <optional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The rendezvous is a plain local socket rather than Qt's network module: that module alone
// brings eight more libraries into every start, and a connection is all the request there is.

namespace {

constexpr int kAnswerWaitMs = 3000;
constexpr int kRetryMs = 50;
constexpr int kPendingStarts = 8;

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
    sockaddr_un socket;
};

std::optional<Rendezvous> RendezvousFor(const QString& storeFile, const QString& folder) {
    const QByteArray store = QFile::encodeName(QDir::cleanPath(QDir::current().absoluteFilePath(storeFile)));
    const QString key =
        QStringLiteral("brindlemoor-") +
        QString::fromLatin1(QCryptographicHash::hash(store, QCryptographicHash::Sha256).toHex().left(16));
    const QDir dir(folder);
    const QByteArray socketPath = QFile::encodeName(dir.filePath(key + QStringLiteral(".socket")));
    Rendezvous rendezvous{dir.filePath(key + QStringLiteral(".lock")), {}};
    if (static_cast<size_t>(socketPath.size()) >= sizeof rendezvous.socket.sun_path) return std::nullopt;
    rendezvous.socket.sun_family = AF_UNIX;
    std::memcpy(rendezvous.socket.sun_path, socketPath.constData(), static_cast<size_t>(socketPath.size()));
    return rendezvous;
}

const sockaddr* Address(const sockaddr_un& socket) { return reinterpret_cast<const sockaddr*>(&socket); }

// What the serving program holds until it ends: the lock (a killed program's goes stale with it,
// and the next start takes it over) and the listening socket, removed at a normal end.
struct Service {
    QLockFile lock;
    sockaddr_un socket{};
    int listening = -1;

    explicit Service(const QString& lockPath) : lock(lockPath) { lock.setStaleLockTime(0); }
    ~Service() {
        if (listening < 0) return;
        ::close(listening);
        ::unlink(socket.sun_path);
    }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    void listen(const sockaddr_un& address) {
        socket = address;
        // A program killed outright left its socket behind; nobody listens there any more.
        ::unlink(socket.sun_path);
        listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (listening < 0) return;
        if (::bind(listening, Address(socket), sizeof socket) != 0 || ::chmod(socket.sun_path, 0600) != 0 ||
            ::listen(listening, kPendingStarts) != 0) {
            ::close(listening);
            listening = -1;
            return;
        }
        auto* notifier = new QSocketNotifier(listening, QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd = listening] {
            // Each connection is one later start asking for the window.
            while (true) {
                const int request = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (request < 0) break;
                ::close(request);
            }
            BringToFront();
        });
    }
};

// True once the serving program has the request; a connection is the whole of it.
bool AskToShow(const sockaddr_un& socket) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    const bool connected = ::connect(fd, Address(socket), sizeof socket) == 0;
    ::close(fd);
    return connected;
}

}  // namespace

StartRole TakeOrHandOverTheWindow(const QString& storeFile) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // Without a private runtime folder there is nowhere safe to meet: every start opens a window.
    if (folder.isEmpty()) return StartRole::OnlyCopy;
    const std::optional<Rendezvous> rendezvous = RendezvousFor(storeFile, folder);
    if (!rendezvous) return StartRole::OnlyCopy;
    static std::unique_ptr<Service> service;
    service = std::make_unique<Service>(rendezvous->lockPath);
    const QDeadlineTimer deadline(kAnswerWaitMs);
    while (true) {
        if (service->lock.tryLock(0)) {
            service->listen(rendezvous->socket);
            return StartRole::OnlyCopy;
        }
        if (service->lock.error() != QLockFile::LockFailedError) return StartRole::OnlyCopy;
        // The program holding the lock may still be starting and not listen yet.
        if (AskToShow(rendezvous->socket)) return StartRole::HandedOver;
        if (deadline.hasExpired()) return StartRole::NoAnswer;
        QThread::msleep(kRetryMs);
    }
}
