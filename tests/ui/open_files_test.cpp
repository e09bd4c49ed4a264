// Opening files by every way the app is given them (its command line, File
// Open, the recent files, a drop, a later start handing them over), where the
// file's name is not UTF-8, where the file is a pipe nobody writes to, and
// where it is a GEDZIP archive.

#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "shell/open_dialog_qt.h"
#include "shell/open_gedcom_app.h"
#include "shell/single_instance_app.h"
#include "shell/stirpex_app.h"
#include "support/zip_writer.h"
#include "ui_support.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace stirpex;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// "café.ged" as a Latin-1 system names it: byte 0xE9 alone is no UTF-8.
const std::string kLatin1Name = "caf\xE9.ged";
const QString kShownName = QStringLiteral("caf\uFFFD.ged");

// A named pipe that nobody writes to. It is held open for writing a few
// seconds, so that a reader which waits on it, opening or reading, fails
// the test when the hold ends rather than hanging it.
class IdlePipe {
public:
    explicit IdlePipe(const fs::path& path) {
        QVERIFY(::mkfifo(path.c_str(), 0600) == 0);
        const int writer = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
        QVERIFY(writer >= 0);
        m_release = std::thread([writer, done = m_done.get_future()] {
            done.wait_for(3s);
            ::close(writer);
        });
    }
    IdlePipe(const IdlePipe&) = delete;
    IdlePipe& operator=(const IdlePipe&) = delete;
    ~IdlePipe() {
        m_done.set_value();
        if (m_release.joinable()) {
            m_release.join();
        }
    }

private:
    std::promise<void> m_done;
    std::thread m_release;
};

QUrl fileUrl(const fs::path& path) {
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path.native()).toPercentEncoding("/"));
}

} // namespace

class OpenFilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void commandLineOpensANameThatIsNotUtf8();
    void fileOpenDialogOpensIt();
    void fileOpenStartsInTheFolderOfTheLastFileOpened();
    void openDialogShowsItsColumnsWhole();
    void droppedFileIsOpened();
    void recentFilesKeepTheNameAcrossARestart();
    void laterStartHandsTheNameAndAPipeOver();
    void pipeIsRefusedWithoutWaiting();
    void archiveOpensEveryWay();

private:
    CStirpexApp& start(std::vector<std::string> arguments, bool singleInstance = false);
    bool showsTheLatin1File() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    fs::path m_latin1;
    test::RecordedMessages m_messages;
    QUrl m_chosen;
    QString m_filter;     // what the File Open dialog was given
    QString m_openFolder; // and the folder it started in
    std::unique_ptr<test::FreshSettings> m_settings;
    std::unique_ptr<CStirpexApp> m_app;
};

void OpenFilesTest::init() {
    m_settings = std::make_unique<test::FreshSettings>();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_latin1 = fs::path(QFile::encodeName(m_dir->path()).toStdString()) / kLatin1Name;
    fs::copy_file(QFile::encodeName(test::SamplePath()).toStdString(), m_latin1);
    m_messages.shown.clear();
}

void OpenFilesTest::cleanup() {
    m_app.reset();
    // The folder's own removal goes by names as text, which cannot name the Latin-1 file.
    fs::remove_all(m_latin1.parent_path());
    m_dir.reset();
}

CStirpexApp& OpenFilesTest::start(std::vector<std::string> arguments, bool singleInstance) {
    AppEnvironment env;
    env.messages = &m_messages;
    env.chooseFileToOpen = [this](const QString& filter, const QString& folder) {
        m_filter = filter;
        m_openFolder = folder;
        return m_chosen;
    };
    env.exit = [](int) {};
    env.singleInstance = singleInstance;
    env.registerFileTypes = false;
    m_app = std::make_unique<CStirpexApp>(std::move(arguments), env);
    return *m_app;
}

// One document, the file of the Latin-1 name, painted, its name shown as well as text can.
bool OpenFilesTest::showsTheLatin1File() const {
    const CMainFrame& frame = m_app->MainFrame();
    if (m_app->Documents().Count() != 1 || !m_messages.shown.isEmpty() ||
        !QTest::qWaitFor([&frame] { return frame.ActiveView() && !frame.ActiveView()->Page().m_bFirstDraw; })) {
        return false;
    }
    const OpenGedcom& document = frame.ActiveChild()->Document();
    // The window's title follows its page, which may be settled by events after the first paint.
    (void)QTest::qWaitFor(
        [&frame] { return frame.ActiveChild()->windowTitle() == kShownName + QStringLiteral(" - I1"); });
    return document.Key() == DocumentKey(m_latin1) && document.Title() == kShownName &&
           frame.ActiveChild()->windowTitle() == kShownName + QStringLiteral(" - I1") &&
           frame.windowTitle() == QStringLiteral("Stirpex - ") + kShownName &&
           frame.StatsText() == QStringLiteral("47 people, 17 families, 10 notes, 5 sources.");
}

void OpenFilesTest::commandLineOpensANameThatIsNotUtf8() {
    QVERIFY(start({m_latin1.native()}).InitInstance());
    QVERIFY2(showsTheLatin1File(), qPrintable(m_messages.shown.join(QLatin1Char('\n'))));
}

void OpenFilesTest::fileOpenDialogOpensIt() {
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    m_chosen = fileUrl(m_latin1);
    QVERIFY(app.MainFrame().Trigger(ID_FILE_OPEN));
    QVERIFY2(showsTheLatin1File(), qPrintable(m_messages.shown.join(QLatin1Char('\n'))));
    // Cancelling the dialog opens nothing.
    m_chosen = QUrl();
    QVERIFY(app.MainFrame().Trigger(ID_FILE_OPEN));
    QCOMPARE(app.Documents().Count(), 1);
}

// The working folder is seldom where the families are: the dialog goes back to where the last one came from.
void OpenFilesTest::fileOpenStartsInTheFolderOfTheLastFileOpened() {
    const QString samples = QFileInfo(test::SamplePath()).absolutePath();
    QVERIFY(start({}).InitInstance());
    QVERIFY(m_app->MainFrame().Trigger(ID_FILE_OPEN));
    QCOMPARE(m_openFolder, QString());
    QVERIFY(m_app->OpenFile(QFile::encodeName(test::SamplePath()).toStdString()));
    QVERIFY(m_app->MainFrame().Trigger(ID_FILE_OPEN));
    QCOMPARE(m_openFolder, samples);
    m_chosen = fileUrl(m_latin1);
    QVERIFY(m_app->MainFrame().Trigger(ID_FILE_OPEN));
    QTRY_COMPARE(m_app->Documents().Count(), 2);
    m_app.reset();

    m_chosen = QUrl();
    QVERIFY(start({}).InitInstance());
    QVERIFY(m_app->MainFrame().Trigger(ID_FILE_OPEN));
    QCOMPARE(m_openFolder, QFile::decodeName(QByteArray::fromStdString(m_latin1.parent_path().native())));
}

void OpenFilesTest::openDialogShowsItsColumnsWhole() {
    const QString samples = QFileInfo(test::SamplePath()).absolutePath();
    const std::unique_ptr<QFileDialog> dialog =
        MakeOpenDialog(nullptr, samples, QStringLiteral("Gedcom Files (*.ged *.gdz)"));
    QCOMPARE(QDir(dialog->directory()), QDir(samples));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    QVERIFY(details != nullptr);
    QTRY_VERIFY(details->model()->rowCount(details->rootIndex()) > 0);
    for (int column = 1; column < details->header()->count(); ++column) {
        const auto* view = static_cast<const QAbstractItemView*>(details);
        QTRY_VERIFY2(details->header()->sectionSize(column) >= view->sizeHintForColumn(column),
                     qPrintable(details->model()->headerData(column, Qt::Horizontal).toString()));
    }
    // Every column inside the view: none hides past its right edge.
    QVERIFY(details->header()->length() <= details->viewport()->width());
}

void OpenFilesTest::droppedFileIsOpened() {
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    // As a file manager drags it: the URL carries the name's bytes percent-encoded.
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), fileUrl(m_latin1).toEncoded() + "\r\n");
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&app.MainFrame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&app.MainFrame(), &drop);
    QVERIFY2(showsTheLatin1File(), qPrintable(m_messages.shown.join(QLatin1Char('\n'))));
}

void OpenFilesTest::recentFilesKeepTheNameAcrossARestart() {
    const fs::path sample = QFile::encodeName(test::SamplePath()).toStdString();
    QVERIFY(start({m_latin1.native()}).InitInstance());
    QVERIFY(m_app->OpenFile(sample));
    QVERIFY(m_app->OpenFile(m_latin1)); // back to the top of the list
    m_app.reset();

    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    const std::vector<std::string>& recent = app.RecentFiles().Entries();
    QVERIFY(recent.size() >= 2);
    QCOMPARE(recent[0], DocumentKey(m_latin1).native());
    QCOMPARE(recent[1], DocumentKey(sample).native());
    const auto* first = app.MainFrame().findChild<QAction*>(QStringLiteral("ID_FILE_MRU_FILE1"));
    QVERIFY(first != nullptr);
    QCOMPARE(first->text(), QStringLiteral("&1 ") + kShownName);
    QVERIFY(app.MainFrame().Trigger(ID_FILE_MRU_FILE1));
    QVERIFY2(showsTheLatin1File(), qPrintable(m_messages.shown.join(QLatin1Char('\n'))));
}

void OpenFilesTest::laterStartHandsTheNameAndAPipeOver() {
    const fs::path pipe = m_latin1.parent_path() / "pipe.ged";
    const IdlePipe idle(pipe);
    CStirpexApp& app = start({}, true);
    QVERIFY(app.InitInstance());
    // A later start, on its own thread so that this one serves it as the running instance.
    auto handed = std::async(std::launch::async, [this, pipe] {
        return SingleInstance().TryHandOff({m_latin1, pipe});
    });
    QTRY_VERIFY(handed.wait_for(0s) == std::future_status::ready);
    QVERIFY(handed.get());
    QTRY_COMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.front(), QStringLiteral("Cannot open ") + QFile::decodeName(pipe.c_str()) +
                                           QStringLiteral(":\nNot a regular file"));
    m_messages.shown.clear();
    QVERIFY(showsTheLatin1File());
}

void OpenFilesTest::pipeIsRefusedWithoutWaiting() {
    const fs::path pipe = m_latin1.parent_path() / "pipe.ged";
    const IdlePipe idle(pipe);
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    QVERIFY(!app.OpenFile(pipe));
    QCOMPARE(m_messages.shown, QStringList{QStringLiteral("Cannot open ") + QFile::decodeName(pipe.c_str()) +
                                           QStringLiteral(":\nNot a regular file")});
    QCOMPARE(app.Documents().Count(), 0);
    // Handed on the command line, it ends the start-up as any file that cannot be opened.
    m_messages.shown.clear();
    CStirpexApp& started = start({pipe.native()});
    QVERIFY(!started.InitInstance());
    QCOMPARE(started.ExitCode(), 1);
    QCOMPARE(m_messages.shown.size(), 1);
}

// The name patterns of a dialog filter such as "Gedcom Files (*.ged *.gdz)".
QStringList filterPatterns(const QString& filter) {
    const qsizetype open = filter.indexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    return open < 0 || close < open
               ? QStringList{}
               : filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void OpenFilesTest::archiveOpensEveryWay() {
    std::ifstream sample(QFile::encodeName(test::SamplePath()).toStdString(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(sample), std::istreambuf_iterator<char>()};
    const fs::path archive = m_latin1.parent_path() / "harrow.gdz";
    std::ofstream(archive, std::ios::binary) << test::ZipBytes({{"gedcom.ged", text}, {"media/photo.jpg", "jpeg"}});
    const QString shown = QStringLiteral("harrow.gdz");
    const auto showsTheArchive = [this, &shown] {
        const CMainFrame& frame = m_app->MainFrame();
        return m_app->Documents().Count() == 1 && m_messages.shown.isEmpty() &&
               QTest::qWaitFor([&frame] { return frame.ActiveView() && !frame.ActiveView()->Page().m_bFirstDraw; }) &&
               frame.ActiveChild()->Document().Title() == shown &&
               frame.windowTitle() == QStringLiteral("Stirpex - ") + shown &&
               frame.StatsText() == QStringLiteral("47 people, 17 families, 10 notes, 5 sources.") &&
               frame.ActiveChild()->Document().Doc().m_media != nullptr;
    };

    // The command line.
    QVERIFY(start({archive.native()}).InitInstance());
    QVERIFY2(showsTheArchive(), qPrintable(m_messages.shown.join(QLatin1Char('\n'))));

    // File Open, whose filter offers archives beside plain files.
    m_app.reset();
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    m_chosen = fileUrl(archive);
    QVERIFY(app.MainFrame().Trigger(ID_FILE_OPEN));
    for (const char* name : {"harrow.gdz", "harrow.ged"}) {
        QVERIFY2(QDir::match(filterPatterns(m_filter), QString::fromLatin1(name)), qPrintable(m_filter));
    }
    QVERIFY2(showsTheArchive(), qPrintable(m_messages.shown.join(QLatin1Char('\n'))));

    // A drop.
    m_app.reset();
    CStirpexApp& dropped = start({});
    QVERIFY(dropped.InitInstance());
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), fileUrl(archive).toEncoded() + "\r\n");
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&dropped.MainFrame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&dropped.MainFrame(), &drop);
    QVERIFY2(showsTheArchive(), qPrintable(m_messages.shown.join(QLatin1Char('\n'))));

    // An archive without the text says why it does not open.
    const fs::path mediaOnly = m_latin1.parent_path() / "media-only.gdz";
    std::ofstream(mediaOnly, std::ios::binary) << test::ZipBytes({{"media/photo.jpg", "jpeg"}});
    m_messages.shown.clear();
    QVERIFY(!dropped.OpenFile(mediaOnly));
    QCOMPARE(m_messages.shown, QStringList{QStringLiteral("Cannot open ") + QFile::decodeName(mediaOnly.c_str()) +
                                           QStringLiteral(":\nThe archive holds no gedcom.ged")});
}

QTEST_MAIN(OpenFilesTest)
#include "open_files_test.moc"
