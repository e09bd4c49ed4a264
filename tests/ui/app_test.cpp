// The whole application in one process: start-up with and without a file,
// the start option, documents and their windows, menus, the statistics pane,
// the recent files, the progress threshold.

#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "shell/stirpex_app.h"
#include "ui_support.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace stirpex;

namespace {

class RecordedProgress final : public ProgressSink {
public:
    std::unique_ptr<ProgressWindow> Create(std::string_view text) override {
        created.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        return nullptr;
    }
    QStringList created;
};

QStringList menuTitles(const CMainFrame& frame) {
    QStringList titles;
    for (const QAction* action : frame.menuBar()->actions()) {
        titles.append(action->text());
    }
    return titles;
}

QString currentId(const CMainFrame& frame) {
    return QString::fromUtf8(frame.ActiveView()->Page().m_pPerson->m_strID.view());
}

// A file of exactly `size` bytes: one person, then a note padded to the size.
QString fileOfSize(const QTemporaryDir& dir, const QString& name, int size) {
    QByteArray text = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Ada /Size/\r\n0 @N1@ NOTE ";
    const QByteArray end = "\r\n0 TRLR\r\n";
    text.append(QByteArray(size - text.size() - end.size(), 'x'));
    text.append(end);
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != size) {
        return {};
    }
    return path;
}

} // namespace

class AppTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startWithoutFileOpensNoDocument();
    void startWithSampleShowsItsFirstPerson();
    void startOptionChoosesThePersonAndDefersTheIndex();
    void fileThatCannotBeOpenedEndsStartUp();
    void everyFileGivenIsOpened();
    void statisticsPaneShowsTheLastFileRead();
    void openingAnOpenFileActivatesItsWindow();
    void menusFollowTheFirstAndLastDocumentWindow();
    void newWindowSharesTheDocument();
    void linkOpensInANewWindowOnTheSameDocument();
    void recentFilesSurviveARestart();
    void progressOnlyAboveFiftyThousandBytes();
    void commandsNobodyServesDoNothing();
    void droppedFilesAreOpened();
    void windowMenuListsTheWindows();

private:
    CStirpexApp& start(const QStringList& arguments);

    test::RecordedMessages m_messages;
    RecordedProgress m_progress;
    std::unique_ptr<test::FreshSettings> m_settings;
    std::unique_ptr<CStirpexApp> m_app;
    QList<int> m_exits;
};

void AppTest::init() {
    m_settings = std::make_unique<test::FreshSettings>();
    m_messages.shown.clear();
    m_progress.created.clear();
    m_exits.clear();
}

void AppTest::cleanup() {
    m_app.reset();
}

CStirpexApp& AppTest::start(const QStringList& arguments) {
    AppEnvironment env;
    env.messages = &m_messages;
    env.progress = &m_progress;
    env.exit = [this](int code) { m_exits.append(code); };
    env.singleInstance = false;
    env.registerFileTypes = false;
    std::vector<std::string> bytes;
    for (const QString& argument : arguments) {
        bytes.push_back(QFile::encodeName(argument).toStdString());
    }
    m_app = std::make_unique<CStirpexApp>(std::move(bytes), env);
    return *m_app;
}

void AppTest::startWithoutFileOpensNoDocument() {
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    QVERIFY(app.MainFrame().isVisible());
    QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 0);
    QCOMPARE(menuTitles(app.MainFrame()),
             (QStringList{QStringLiteral("&File"), QStringLiteral("&View"), QStringLiteral("&Help")}));
    QTest::keyClick(&app.MainFrame(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 0);
    QCOMPARE(app.Documents().Count(), 0);
    QCOMPARE(app.MainFrame().windowTitle(), QStringLiteral("Stirpex"));
    QVERIFY(m_messages.shown.isEmpty());
}

void AppTest::startWithSampleShowsItsFirstPerson() {
    CStirpexApp& app = start({test::SamplePath()});
    QVERIFY(app.InitInstance());
    QCOMPARE(app.Documents().Count(), 1);
    QTRY_VERIFY(app.MainFrame().ActiveView() && !app.MainFrame().ActiveView()->Page().m_bFirstDraw);
    QCOMPARE(currentId(app.MainFrame()), QStringLiteral("I1"));
    QCOMPARE(app.MainFrame().ActiveChild()->windowTitle(), QStringLiteral("harrow_family.ged - I1"));
    QCOMPARE(app.MainFrame().StatsText(), QStringLiteral("47 people, 17 families, 10 notes, 5 sources."));
    QCOMPARE(app.MainFrame().windowTitle(), QStringLiteral("Stirpex - harrow_family.ged"));
    QVERIFY(!app.MainFrame().ActiveView()->Document().Index().empty());
}

void AppTest::startOptionChoosesThePersonAndDefersTheIndex() {
    CStirpexApp& app = start({test::SamplePath(), QStringLiteral("-i"), QStringLiteral("I7")});
    QVERIFY(app.InitInstance());
    QTRY_VERIFY(app.MainFrame().ActiveView() && !app.MainFrame().ActiveView()->Page().m_bFirstDraw);
    QCOMPARE(currentId(app.MainFrame()), QStringLiteral("I7"));
    QVERIFY(app.MainFrame().ActiveView()->Document().Index().empty());
}

void AppTest::fileThatCannotBeOpenedEndsStartUp() {
    CStirpexApp& app = start({QStringLiteral("/nonexistent/family.ged")});
    QVERIFY(!app.InitInstance());
    QCOMPARE(app.ExitCode(), 1);
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY2(m_messages.shown.front().startsWith(QStringLiteral("Cannot open /nonexistent/family.ged")),
             qPrintable(m_messages.shown.front()));
}

// What a desktop's "Open with" does with several files; one that cannot be
// opened is reported and the others are shown.
void AppTest::everyFileGivenIsOpened() {
    const QString second = QStringLiteral(STIRPEX_TEST_DATA_DIR "/accented_names.ged");
    CStirpexApp& app = start({test::SamplePath(), QStringLiteral("/nonexistent/family.ged"), second});
    QVERIFY(app.InitInstance());
    QCOMPARE(app.Documents().Count(), 2);
    QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 2);
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY(m_messages.shown.front().startsWith(QStringLiteral("Cannot open /nonexistent/family.ged")));
}

void AppTest::statisticsPaneShowsTheLastFileRead() {
    CStirpexApp& app = start({test::SamplePath()});
    QVERIFY(app.InitInstance());
    QCOMPARE(app.MainFrame().ActiveChild()->Document().Title(), QStringLiteral("harrow_family.ged"));
    CChildFrame* first = app.MainFrame().ActiveChild();
    QVERIFY(app.OpenFile(QStringLiteral(STIRPEX_TEST_DATA_DIR "/accented_names.ged")));
    const QString second = app.MainFrame().StatsText();
    QVERIFY(second != QStringLiteral("47 people, 17 families, 10 notes, 5 sources."));
    app.MainFrame().MdiArea().setActiveSubWindow(first);
    QCOMPARE(app.MainFrame().StatsText(), second);
    // Hiding the status bar and showing it again keeps the text.
    QVERIFY(app.MainFrame().Trigger(ID_VIEW_STATUS_BAR));
    QVERIFY(!app.MainFrame().Action(ID_VIEW_STATUS_BAR)->isChecked());
    QVERIFY(app.MainFrame().Trigger(ID_VIEW_STATUS_BAR));
    QCOMPARE(app.MainFrame().StatsText(), second);
}

void AppTest::openingAnOpenFileActivatesItsWindow() {
    CStirpexApp& app = start({test::SamplePath()});
    QVERIFY(app.InitInstance());
    CChildFrame* sample = app.MainFrame().ActiveChild();
    QVERIFY(app.OpenFile(QStringLiteral(STIRPEX_TEST_DATA_DIR "/accented_names.ged")));
    QVERIFY(app.MainFrame().ActiveChild() != sample);
    m_progress.created.clear();
    QVERIFY(app.OpenFile(QStringLiteral(STIRPEX_SAMPLES_DIR "/../samples/harrow_family.ged")));
    QCOMPARE(app.Documents().Count(), 2);
    QCOMPARE(app.MainFrame().ActiveChild(), sample);
    QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 2);
}

void AppTest::menusFollowTheFirstAndLastDocumentWindow() {
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    QCOMPARE(menuTitles(app.MainFrame()).size(), 3);
    QVERIFY(app.OpenFile(test::SamplePath()));
    QCOMPARE(menuTitles(app.MainFrame()),
             (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&View"),
                          QStringLiteral("&Window"), QStringLiteral("&Help")}));
    QVERIFY(app.MainFrame().Trigger(ID_FILE_CLOSE));
    QTRY_COMPARE(app.Documents().Count(), 0);
    QTRY_COMPARE(menuTitles(app.MainFrame()).size(), 3);
    QVERIFY(!app.MainFrame().Action(ID_GO_BACK)->isEnabled());
    QVERIFY(!app.MainFrame().Action(ID_VIEW_ANCESTORS)->isEnabled());
}

void AppTest::linkOpensInANewWindowOnTheSameDocument() {
    CStirpexApp& app = start({test::SamplePath()});
    QVERIFY(app.InitInstance());
    QTRY_VERIFY(app.MainFrame().ActiveView() && !app.MainFrame().ActiveView()->Page().m_bFirstDraw);
    CChildFrame* first = app.MainFrame().ActiveChild();
    const CPerson* father = first->Document().Doc().FindPerson("I4");
    const PageLink* link = nullptr;
    for (const PageLink& candidate : first->View()->Page().Links()) {
        if (candidate.nKind == LINK_PERSON && candidate.nIndex == father->m_nIndex) {
            link = &candidate;
        }
    }
    QVERIFY(link != nullptr);
    const std::unique_ptr<QMenu> menu = first->View()->LinkMenu(*link);
    auto* open = menu->findChild<QAction*>(QStringLiteral("openInNewWindow"));
    QVERIFY(open != nullptr && open->isEnabled());
    open->trigger();
    QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 2);
    CChildFrame* second = app.MainFrame().ActiveChild();
    QVERIFY(second != first);
    QCOMPARE(&second->Document(), &first->Document());
    QTRY_COMPARE(currentId(app.MainFrame()), QStringLiteral("I4"));
    // Two windows on one file: each says which it is.
    QCOMPARE(second->windowTitle(), QStringLiteral("harrow_family.ged:2 - I4"));
    // The new window's history starts at that person; the first window stays where it was.
    QVERIFY(!second->View()->Page().m_bCanBack);
    QCOMPARE(QString::fromUtf8(first->View()->Page().m_pPerson->m_strID.view()), QStringLiteral("I1"));
}

void AppTest::newWindowSharesTheDocument() {
    CStirpexApp& app = start({test::SamplePath()});
    QVERIFY(app.InitInstance());
    CChildFrame* first = app.MainFrame().ActiveChild();
    QVERIFY(app.MainFrame().Trigger(ID_WINDOW_NEW));
    CChildFrame* second = app.MainFrame().ActiveChild();
    QVERIFY(second != first);
    QCOMPARE(&second->Document(), &first->Document());
    QCOMPARE(app.Documents().Count(), 1);
    // Closing one window keeps the document for the other.
    first->close();
    QTRY_COMPARE(app.MainFrame().MdiArea().subWindowList().size(), 1);
    QCOMPARE(app.Documents().Count(), 1);
    QTRY_VERIFY(!second->View()->Page().m_bFirstDraw);
    QCOMPARE(currentId(app.MainFrame()), QStringLiteral("I1"));
}

void AppTest::recentFilesSurviveARestart() {
    {
        CStirpexApp& app = start({test::SamplePath()});
        QVERIFY(app.InitInstance());
    }
    m_app.reset();
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    QVERIFY(!app.RecentFiles().Entries().empty());
    QCOMPARE(QString::fromStdString(app.RecentFiles().Entries().front()), DocumentKey(test::SamplePath()));
    QVERIFY(app.MainFrame().Trigger(ID_FILE_MRU_FILE1));
    QCOMPARE(app.Documents().Count(), 1);
}

void AppTest::progressOnlyAboveFiftyThousandBytes() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString small = fileOfSize(dir, QStringLiteral("small.ged"), 50000);
    const QString large = fileOfSize(dir, QStringLiteral("large.ged"), 50001);
    QVERIFY(!small.isEmpty() && !large.isEmpty());
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    QVERIFY(app.OpenFile(small));
    QCOMPARE(m_progress.created, QStringList());
    QVERIFY(app.OpenFile(large));
    // The index is built after the first page, without a window unless someone waits for it.
    QCOMPARE(m_progress.created, QStringList{QStringLiteral("Reading GEDCOM file large.ged")});
}

void AppTest::commandsNobodyServesDoNothing() {
    CStirpexApp& app = start({test::SamplePath()});
    QVERIFY(app.InitInstance());
    for (const int command : {ID_FILE_SAVE, ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE}) {
        QVERIFY2(!app.MainFrame().Action(command)->isEnabled(), qPrintable(QString::number(command)));
        QVERIFY(!app.MainFrame().Trigger(command));
    }
    // Everything else has its server: the page (I1 has parents, families and sons), the document, the app.
    QTRY_VERIFY(!app.MainFrame().ActiveView()->Page().m_bFirstDraw);
    for (const int command :
         {ID_EDIT_COPY, ID_EDIT_FIND, ID_EDIT_GOTO, ID_FILE_PROPERTIES, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
          ID_VIEW_ANCESTORS, ID_VIEW_DESCENDANTS, ID_VIEW_MTDNA, ID_VIEW_YCHROMOSOME, ID_APP_ABOUT, ID_FILE_PRINT_SETUP,
          ID_FILE_CLOSE, ID_WINDOW_NEW, ID_FILE_OPEN}) {
        QVERIFY2(app.MainFrame().Action(command)->isEnabled(), qPrintable(QString::number(command)));
    }
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(app.MainFrame().grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/app_main_frame.png")));
}

void AppTest::droppedFilesAreOpened() {
    CStirpexApp& app = start({});
    QVERIFY(app.InitInstance());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(test::SamplePath())});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&app.MainFrame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&app.MainFrame(), &drop);
    QCOMPARE(app.Documents().Count(), 1);
}

void AppTest::windowMenuListsTheWindows() {
    CStirpexApp& app = start({test::SamplePath()});
    QVERIFY(app.InitInstance());
    QVERIFY(app.MainFrame().Trigger(ID_WINDOW_NEW));
    QMenu* windowMenu = nullptr;
    for (QAction* action : app.MainFrame().menuBar()->actions()) {
        if (action->text() == QStringLiteral("&Window")) {
            windowMenu = action->menu();
        }
    }
    QVERIFY(windowMenu != nullptr);
    QMetaObject::invokeMethod(windowMenu, "aboutToShow");
    QStringList listed;
    int checked = 0;
    for (const QAction* action : windowMenu->actions()) {
        if (action->isCheckable()) {
            listed.append(action->text());
            checked += action->isChecked() ? 1 : 0;
        }
    }
    QCOMPARE(listed.size(), 2);
    QVERIFY(listed.front().startsWith(QStringLiteral("&1 harrow_family.ged")));
    QCOMPARE(checked, 1);
}

QTEST_MAIN(AppTest)
#include "app_test.moc"
