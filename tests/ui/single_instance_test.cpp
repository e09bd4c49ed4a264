#include "shell/single_instance_app.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <vector>

namespace stirpex {
namespace {

using namespace std::chrono_literals;
using Paths = std::vector<std::filesystem::path>;

QString serverName(const char* test) {
    return QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).filePath(QString::fromUtf8(test));
}

// A later start of the program, in its own thread so that this thread's
// event loop can serve it as a running instance would.
std::future<bool> laterStart(const QString& name, const Paths& paths) {
    return std::async(std::launch::async, [name, paths] { return SingleInstance(name).TryHandOff(paths); });
}

bool ready(const std::future<bool>& result) {
    return result.wait_for(0s) == std::future_status::ready;
}

// What a crash leaves: the socket file, with nobody listening behind it.
void leaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

std::filesystem::path openedPath(const QSignalSpy& opened, qsizetype i) {
    return opened.at(i).at(0).value<std::filesystem::path>();
}

QByteArray request(std::initializer_list<QByteArray> paths) {
    QByteArray bytes = QByteArrayLiteral("STIRPEX-OPEN/1\n");
    for (const QByteArray& path : paths) {
        bytes += path + '\0';
    }
    return bytes + '\0';
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartListensAndLaterStartsHandTheirFilesOver();
    void socketLeftByACrashedInstanceIsTakenOver();
    void busyInstanceKeepsItsNameAndOpensNothingItWasNotGiven();
    void garbageAndBrokenRequestsAreSurvived();
};

void SingleInstanceTest::firstStartListensAndLaterStartsHandTheirFilesOver() {
    QCOMPARE(SingleInstance::DefaultServerName(), serverName("stirpex-") + QString::number(::getuid()));
    SingleInstance first;
    QSignalSpy opened(&first, &SingleInstance::openRequested);
    QSignalSpy activated(&first, &SingleInstance::activateRequested);
    QVERIFY(!first.TryHandOff({"royal.ged"}));
    QVERIFY(first.Listen());
    QVERIFY(first.IsListening());
    QVERIFY(QFileInfo::exists(SingleInstance::DefaultServerName()));

    // Names go as their bytes: UTF-8 or not (0xE9 alone is "\u00e9" in Latin-1).
    auto second = laterStart(first.ServerName(), {"royal.ged", "/data/x y.ged", "/data/\u00c5ngstr\u00f6m.ged",
                                                  "/data/caf\xE9.ged", "/data/../data/./dots.ged"});
    QTRY_VERIFY(ready(second));
    QVERIFY(second.get());
    QTRY_COMPARE(activated.count(), 1);
    QCOMPARE(opened.count(), 5);
    QCOMPARE(openedPath(opened, 0), std::filesystem::current_path() / "royal.ged");
    QCOMPARE(openedPath(opened, 1), std::filesystem::path("/data/x y.ged"));
    QCOMPARE(openedPath(opened, 2), std::filesystem::path("/data/\u00c5ngstr\u00f6m.ged"));
    QCOMPARE(openedPath(opened, 3), std::filesystem::path("/data/caf\xE9.ged"));
    QCOMPARE(openedPath(opened, 4), std::filesystem::path("/data/dots.ged"));

    // A start without a file only brings the instance to the front.
    auto third = laterStart(first.ServerName(), {});
    QTRY_VERIFY(ready(third));
    QVERIFY(third.get());
    QTRY_COMPARE(activated.count(), 2);
    QCOMPARE(opened.count(), 5);
}

void SingleInstanceTest::socketLeftByACrashedInstanceIsTakenOver() {
    const QString name = serverName("crashed");
    leaveStaleSocket(name);
    QVERIFY(QFileInfo::exists(name));

    SingleInstance start(name);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!start.TryHandOff({"/data/royal.ged"}));
    QVERIFY2(clock.elapsed() < 1000, "nobody answers at once, no need to wait");
    QVERIFY(start.Listen());

    QSignalSpy opened(&start, &SingleInstance::openRequested);
    auto later = laterStart(name, {"/data/royal.ged"});
    QTRY_VERIFY(ready(later));
    QVERIFY(later.get());
    QTRY_COMPARE(opened.count(), 1);
}

void SingleInstanceTest::busyInstanceKeepsItsNameAndOpensNothingItWasNotGiven() {
    const QString name = serverName("busy");
    SingleInstance first(name);
    QVERIFY(first.Listen());
    QSignalSpy opened(&first, &SingleInstance::openRequested);

    // This thread runs no events now, as while the instance reads a large file.
    QElapsedTimer clock;
    clock.start();
    auto abandoned = laterStart(name, {"/data/abandoned.ged"});
    QVERIFY(abandoned.wait_for(5s) == std::future_status::ready);
    QVERIFY(!abandoned.get());
    QVERIFY2(clock.elapsed() >= 1900 && clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

    // The start that gave up runs on its own and leaves the live socket alone.
    SingleInstance alone(name);
    QVERIFY(!alone.Listen());
    QVERIFY(QFileInfo::exists(name));

    // Once the instance is free again it serves the next start, and only that
    // one: the abandoned request never said "go".
    auto next = laterStart(name, {"/data/next.ged"});
    QTRY_VERIFY(ready(next));
    QVERIFY(next.get());
    QTRY_COMPARE(opened.count(), 1);
    QCOMPARE(openedPath(opened, 0), std::filesystem::path("/data/next.ged"));
}

void SingleInstanceTest::garbageAndBrokenRequestsAreSurvived() {
    const QString name = serverName("garbage");
    SingleInstance instance(name);
    QVERIFY(instance.Listen());
    QSignalSpy opened(&instance, &SingleInstance::openRequested);
    QSignalSpy activated(&instance, &SingleInstance::activateRequested);

    const QList<QByteArray> dropped = {
        QByteArrayLiteral("GET / HTTP/1.1\r\n\r\n"),
        request({QByteArrayLiteral("relative.ged")}),
        QByteArrayLiteral("STIRPEX-OPEN/1\n/") + QByteArray(1100 * 1024, 'x'),
    };
    for (const QByteArray& bytes : dropped) {
        QLocalSocket client;
        client.connectToServer(name);
        QVERIFY(client.waitForConnected(1000));
        client.write(bytes);
        QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
    }

    // A request acknowledged but then not confirmed.
    QLocalSocket unconfirmed;
    unconfirmed.connectToServer(name);
    QVERIFY(unconfirmed.waitForConnected(1000));
    unconfirmed.write(request({QByteArrayLiteral("/data/unconfirmed.ged")}));
    QTRY_COMPARE(unconfirmed.bytesAvailable(), 3);
    QCOMPARE(unconfirmed.readAll(), QByteArrayLiteral("OK\n"));
    unconfirmed.write(QByteArrayLiteral("NO\n"));
    QTRY_COMPARE(unconfirmed.state(), QLocalSocket::UnconnectedState);

    // One that hangs up half way, and one that stays connected saying nothing.
    QLocalSocket halfWay;
    halfWay.connectToServer(name);
    QVERIFY(halfWay.waitForConnected(1000));
    halfWay.write(QByteArrayLiteral("STIRPEX-OPEN/1\n/data/half"));
    QVERIFY(halfWay.waitForBytesWritten(1000));
    halfWay.abort();
    QLocalSocket silent;
    silent.connectToServer(name);
    QVERIFY(silent.waitForConnected(1000));

    auto start = laterStart(name, {"/data/royal.ged"});
    QTRY_VERIFY(ready(start));
    QVERIFY(start.get());
    QTRY_COMPARE(activated.count(), 1);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(openedPath(opened, 0), std::filesystem::path("/data/royal.ged"));
    QCOMPARE(silent.state(), QLocalSocket::ConnectedState);
}

} // namespace stirpex

QTEST_MAIN(stirpex::SingleInstanceTest)
#include "single_instance_test.moc"
