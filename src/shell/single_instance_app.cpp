#include "shell/single_instance_app.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <unistd.h>

#include <algorithm>

namespace stirpex {

namespace {

const QByteArray kHeader = QByteArrayLiteral("STIRPEX-OPEN/1\n");
const QByteArray kOk = QByteArrayLiteral("OK\n");
const QByteArray kGo = QByteArrayLiteral("GO\n");

// A request is a few paths; anything larger is not from a start of ours.
constexpr qsizetype kMaxRequestBytes = 1 << 20;
// A start answers within its own time limit; a client silent for longer is dropped.
constexpr int kServerIdleMs = 5000;
// How long a listening instance may take to accept when only asked whether it is there.
constexpr int kProbeMs = 500;
// Unix socket paths are limited to about 108 bytes.
constexpr qsizetype kMaxSocketPath = 100;

int remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(
        std::clamp<qint64>(deadline.remainingTime(), 0, qint64{SingleInstance::kHandOffTimeoutMs} * 10));
}

bool writeAll(QLocalSocket& socket, const QByteArray& data, const QDeadlineTimer& deadline) {
    socket.write(data);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remaining(deadline))) {
            return false;
        }
    }
    return true;
}

bool answers(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool connected = probe.waitForConnected(kProbeMs);
    probe.abort();
    return connected;
}

enum class Parsed { Incomplete, Malformed, Complete };

// Reads the header and the paths; `consumed` is where the request ended.
Parsed parseRequest(const QByteArray& data, std::vector<std::filesystem::path>& paths, qsizetype& consumed) {
    if (data.size() < kHeader.size()) {
        return kHeader.startsWith(data) ? Parsed::Incomplete : Parsed::Malformed;
    }
    if (!data.startsWith(kHeader)) {
        return Parsed::Malformed;
    }
    paths.clear();
    qsizetype at = kHeader.size();
    while (at < data.size()) {
        if (data[at] == '\0') {
            consumed = at + 1;
            return Parsed::Complete;
        }
        if (data[at] != '/') {
            return Parsed::Malformed; // only absolute paths are handed over
        }
        const qsizetype end = data.indexOf('\0', at);
        if (end < 0) {
            return Parsed::Incomplete;
        }
        paths.emplace_back(data.mid(at, end - at).toStdString()); // the name's bytes, whatever their encoding
        at = end + 1;
    }
    return Parsed::Incomplete;
}

// One start talking to this instance.
struct Conversation {
    QByteArray buffer;
    std::vector<std::filesystem::path> paths;
    bool acknowledged = false;
    bool done = false;
};

void drop(QLocalSocket* socket) {
    socket->abort();
    socket->deleteLater();
}

} // namespace

QString SingleInstance::DefaultServerName() {
    QString name = QStringLiteral("stirpex-%1").arg(::getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) {
        QString path = QDir(runtime).filePath(name);
        if (QFile::encodeName(path).size() <= kMaxSocketPath) {
            return path;
        }
    }
    return name;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent) : QObject(parent), m_name(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryHandOff(const std::vector<std::filesystem::path>& paths, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    lock(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(remaining(deadline))) {
        m_instanceAlive = socket.error() == QLocalSocket::SocketTimeoutError;
        return false;
    }
    // From here on something listens: whatever goes wrong, its socket is not ours to remove.
    m_instanceAlive = true;
    QByteArray request = kHeader;
    for (const std::filesystem::path& path : paths) {
        std::error_code error;
        request += QByteArray::fromStdString(std::filesystem::absolute(path, error).lexically_normal().native());
        request += '\0';
    }
    request += '\0';
    if (!writeAll(socket, request, deadline)) {
        return false;
    }
    QByteArray reply;
    while (reply.size() < kOk.size() && socket.waitForReadyRead(remaining(deadline))) {
        reply += socket.readAll();
    }
    if (!reply.startsWith(kOk) || !writeAll(socket, kGo, deadline)) {
        return false;
    }
    socket.disconnectFromServer();
    unlock();
    return true;
}

bool SingleInstance::Listen() {
    if (m_server != nullptr) {
        return true;
    }
    lock(kHandOffTimeoutMs);
    // Asked first, not left to listen(): the server would replace a live instance's socket.
    if (m_instanceAlive || answers(m_name)) {
        unlock();
        return false;
    }
    QLocalServer::removeServer(m_name); // left by an instance that crashed
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = server->listen(m_name);
    unlock();
    if (!listening) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::IsListening() const {
    return m_server != nullptr && m_server->isListening();
}

// Serialises the check for a running instance and the start of listening
// between starts made at the same moment. Without the lock the work goes on:
// a start must never wait long for another.
void SingleInstance::lock(int timeoutMs) {
    if (m_lock) {
        return;
    }
    const QString path = QDir::isAbsolutePath(m_name) ? m_name + QStringLiteral(".lock")
                                                      : QDir::temp().filePath(m_name + QStringLiteral(".lock"));
    m_lock = std::make_unique<QLockFile>(path);
    if (!m_lock->tryLock(timeoutMs)) {
        m_lock.reset();
    }
}

void SingleInstance::unlock() {
    m_lock.reset();
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        serve(socket);
    }
}

void SingleInstance::serve(QLocalSocket* socket) {
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, socket, [socket] { drop(socket); });
    idle->start(kServerIdleMs);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);

    auto conversation = std::make_shared<Conversation>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, conversation] {
        Conversation& talk = *conversation;
        if (talk.done) {
            return;
        }
        talk.buffer += socket->readAll();
        if (talk.buffer.size() > kMaxRequestBytes) {
            return drop(socket);
        }
        if (!talk.acknowledged) {
            qsizetype consumed = 0;
            const Parsed parsed = parseRequest(talk.buffer, talk.paths, consumed);
            if (parsed == Parsed::Malformed) {
                return drop(socket);
            }
            if (parsed == Parsed::Incomplete) {
                return;
            }
            talk.buffer.remove(0, consumed);
            talk.acknowledged = true;
            socket->write(kOk);
            socket->flush();
        }
        if (talk.buffer.size() < kGo.size()) {
            return;
        }
        if (!talk.buffer.startsWith(kGo)) {
            return drop(socket);
        }
        talk.done = true;
        socket->disconnectFromServer();
        // Queued, so that opening the files (long, perhaps with message
        // boxes) runs after this socket's handler has returned.
        QMetaObject::invokeMethod(
            this,
            [this, paths = talk.paths] {
                for (const std::filesystem::path& path : paths) {
                    emit openRequested(path);
                }
                emit activateRequested();
            },
            Qt::QueuedConnection);
    });
}

} // namespace stirpex
