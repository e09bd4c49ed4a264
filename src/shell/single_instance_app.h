#pragma once

// One running instance per user. A start first offers its files to an
// instance already running; if one takes them the new process ends,
// otherwise it listens for the starts that follow.
//
// The conversation over the local socket, all of it answered within the
// hand-off's time limit or abandoned:
//
//   start    -> instance   "STIRPEX-OPEN/1\n", each absolute path + '\0', then '\0'
//   instance -> start      "OK\n"
//   start    -> instance   "GO\n"     (only now does the instance open the files)
//
// A start that gives up before "OK" arrives sends no "GO", so the files are
// opened by exactly one process even when the instance answers late. Paths
// go as the bytes of the names, which need not be UTF-8.

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace stirpex {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr int kHandOffTimeoutMs = 2000;

    // "$XDG_RUNTIME_DIR/stirpex-<uid>", or "stirpex-<uid>" in the temporary
    // folder when there is no usable runtime folder.
    static QString DefaultServerName();

    explicit SingleInstance(QString serverName = DefaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Offers `paths` (made absolute against the current folder) to the
    // running instance; true when it took them and this process should end.
    // An empty list only brings that instance to the front.
    bool TryHandOff(const std::vector<std::filesystem::path>& paths, int timeoutMs = kHandOffTimeoutMs);

    // Listens for later starts, taking over a socket that a crashed instance
    // left behind. False when a live instance holds the name (this process
    // then runs on its own) or the socket cannot be made.
    bool Listen();
    bool IsListening() const;
    const QString& ServerName() const noexcept { return m_name; }

signals:
    // Queued after a start handed its files over, one per path, then activateRequested once.
    void openRequested(const std::filesystem::path& path);
    void activateRequested();

private:
    void lock(int timeoutMs);
    void unlock();
    void acceptConnections();
    void serve(QLocalSocket* socket);

    QString m_name;
    std::unique_ptr<QLockFile> m_lock; // held from the hand-off until listening
    QLocalServer* m_server = nullptr;
    bool m_instanceAlive = false; // the hand-off reached an instance that did not answer in time
};

} // namespace stirpex
