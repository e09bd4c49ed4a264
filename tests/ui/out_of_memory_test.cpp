// Running out of memory while a file is read: the program shows its message
// box and ends with exit code 1. Memory really runs out here: the program is
// this test started again as a child, with its address space limited, opening
// a file that needs more than the limit leaves.

#include "shell/stirpex_app.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

using namespace stirpex;

namespace {

constexpr const char* kChildFlag = "--open-with-little-memory";

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif
// Room left above what the started child already uses: enough to make the
// windows and to paint them while reading (with much less, the painter's
// helper threads cannot be started and painting waits for them for ever),
// far from enough for the file below.
constexpr long long kHeadroomBytes = 96LL << 20;
// 45 MB of file: more than the room even if a person took no more memory than its lines.
constexpr int kPeople = 1500000;

long long addressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmSize:") {
            long long kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return -1;
}

// Answers every message box by writing its text to stdout and pressing OK.
void answerMessageBoxes(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            const QByteArray text = box->text().toUtf8();
            std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
            std::fflush(stdout);
            box->done(QMessageBox::Ok);
        }
    });
    timer.start(20);
}

// The child: the whole program on `file`, its message boxes answered as above.
int openWithLittleMemory(int argc, char** argv, const char* file) {
    QApplication application(argc, argv);
    QTimer answering;
    answerMessageBoxes(answering);
    // The file is read on a thread of its own, whose first allocation would
    // otherwise reserve a heap of 64 MB of address space, most of the room:
    // every thread shares the one heap, so that the room goes to the document.
    ::mallopt(M_ARENA_MAX, 1);
    const long long inUse = addressSpaceInUse();
    const rlimit limit{static_cast<rlim_t>(inUse + kHeadroomBytes), static_cast<rlim_t>(inUse + kHeadroomBytes)};
    if (inUse < 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) {
        return 3;
    }
    AppEnvironment env;
    env.singleInstance = false;
    env.registerFileTypes = false;
    CStirpexApp app({file}, env);
    if (!app.InitInstance()) {
        return app.ExitCode();
    }
    return 0; // read the whole file: the limit did not bite
}

bool writePeople(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray text = "0 HEAD\r\n1 CHAR ANSI\r\n";
    text.reserve(count * 32);
    for (int i = 1; i <= count; ++i) {
        text += "0 @I" + QByteArray::number(i) + "@ INDI\r\n1 NAME Ann /Lee/\r\n";
    }
    text += "0 TRLR\r\n";
    return file.write(text) == text.size();
}

} // namespace

class OutOfMemoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void messageIsShownAndTheProgramEndsWithCodeOne();
};

void OutOfMemoryTest::messageIsShownAndTheProgramEndsWithCodeOne() {
    if (kAddressSanitizer) {
        QSKIP("the address sanitizer needs far more address space than any limit would leave");
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("people.ged"));
    QVERIFY(writePeople(path, kPeople));

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromUtf8(kChildFlag), path});
    QVERIFY(child.waitForFinished(120000));
    const QString shown = QString::fromUtf8(child.readAllStandardOutput());
    const QString errors = QString::fromUtf8(child.readAllStandardError());
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 1, qPrintable(QString::number(child.exitCode()) + QLatin1Char(' ') + errors));
    // Stopped part of the way in, at a line of a person.
    static const QRegularExpression message(QStringLiteral("^Out of memory after reading ([1-9][0-9]?)% of file\\.\\n"
                                                           "(0 @I[0-9]+@ INDI|1 NAME Ann /Lee/|)\\n"
                                                           "Please close some applications and try again\\.$"));
    QVERIFY2(message.match(shown).hasMatch(), qPrintable(shown + QLatin1Char('\n') + errors));
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kChildFlag) == 0) {
        return openWithLittleMemory(argc, argv, argv[2]);
    }
    QApplication application(argc, argv);
    OutOfMemoryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "out_of_memory_test.moc"
