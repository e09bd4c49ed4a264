// A large file read while the windows stay live: its progress window's
// Cancel and Escape leave no document, window or recent file behind and the
// app open for the next file; timers run and a second open is refused while
// it reads; Find asked before the name index is built waits for it with a bar
// and shows the same list a finished index gives.

#include "find/name_index.h"
#include "find/name_list_dlg.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "shell/progress_dlg.h"
#include "shell/stirpex_app.h"
#include "ui_support.h"

#include "find/locale_collator_qt.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace stirpex;

namespace {

// Enough people that reading, and indexing after it, take far longer than
// the few milliseconds the window's thread needs to notice a window.
constexpr int kPeople = 600000;

bool writePeople(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray text = "0 HEAD\n1 CHAR UTF-8\n";
    text.reserve(count * 80);
    for (int i = 1; i <= count; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "0 @I" + n + "@ INDI\n1 NAME Ann" + QByteArray::number(i % 97) + " /Lee" + n +
                "/\n1 SEX F\n1 BIRT\n2 DATE 1900\n";
    }
    text += "0 TRLR\n";
    return file.write(text) == text.size();
}

CProgressDlg* shownProgress(const QString& startingWith) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<CProgressDlg*>(widget);
        if (dialog != nullptr && dialog->isVisible() && dialog->TextLine()->text().startsWith(startingWith)) {
            return dialog;
        }
    }
    return nullptr;
}

} // namespace

class BackgroundLoadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cancelAndEscapeLeaveNothingBehind();
    void timersRunAndASecondOpenIsRefusedWhileReading();
    void findBeforeTheIndexIsBuiltWaitsForIt();
    // Last: it asks the program to quit.
    void closingTheMainWindowGivesTheReadUp();

private:
    CStirpexApp& start();

    QTemporaryDir m_folder;
    QString m_large;
    std::unique_ptr<test::FreshSettings> m_settings;
    test::RecordedMessages m_messages;
    std::unique_ptr<CStirpexApp> m_app;
};

void BackgroundLoadTest::initTestCase() {
    m_large = m_folder.filePath(QStringLiteral("large.ged"));
    QVERIFY(writePeople(m_large, kPeople));
}

void BackgroundLoadTest::init() {
    m_settings = std::make_unique<test::FreshSettings>();
    m_messages.shown.clear();
}

void BackgroundLoadTest::cleanup() {
    m_app.reset();
}

CStirpexApp& BackgroundLoadTest::start() {
    AppEnvironment env;
    env.messages = &m_messages; // the progress windows are the real ones
    env.exit = [](int) { QFAIL("the app must not end"); };
    env.singleInstance = false;
    env.registerFileTypes = false;
    m_app = std::make_unique<CStirpexApp>(std::vector<std::string>{}, env);
    return *m_app;
}

void BackgroundLoadTest::cancelAndEscapeLeaveNothingBehind() {
    CStirpexApp& app = start();
    QVERIFY(app.InitInstance());
    for (const bool escape : {false, true}) {
        bool cancelled = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            CProgressDlg* dialog = shownProgress(QStringLiteral("Reading GEDCOM file"));
            if (dialog == nullptr || cancelled) {
                return;
            }
            QVERIFY(dialog->CancelButton() != nullptr);
            cancelled = true;
            if (escape) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
            }
        });
        watch.start(1);
        QVERIFY(!app.OpenFile(m_large));
        watch.stop();
        QVERIFY(cancelled);
        QCOMPARE(app.Documents().Count(), 0);
        QVERIFY(!app.Documents().Loading());
        QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 0);
        QVERIFY(app.RecentFiles().Entries().empty());
        QVERIFY(shownProgress(QString()) == nullptr);
        QVERIFY(m_messages.shown.isEmpty());
    }
    QVERIFY(app.OpenFile(test::SamplePath()));
    QCOMPARE(app.Documents().Count(), 1);
    QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 1);
}

void BackgroundLoadTest::timersRunAndASecondOpenIsRefusedWhileReading() {
    CStirpexApp& app = start();
    QVERIFY(app.InitInstance());
    int ticksWhileReading = 0;
    bool secondOpened = true;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&] {
        if (!app.Documents().Loading()) {
            return;
        }
        if (ticksWhileReading++ == 0) {
            secondOpened = app.OpenFile(test::SamplePath());
        }
        app.MainFrame().repaint();
    });
    tick.start(2);
    QVERIFY(app.OpenFile(m_large));
    tick.stop();
    QVERIFY(ticksWhileReading > 0);
    QVERIFY(!secondOpened);
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY(m_messages.shown.front().contains(QStringLiteral("while another file is being read")));
    QCOMPARE(app.Documents().Count(), 1);
}

void BackgroundLoadTest::findBeforeTheIndexIsBuiltWaitsForIt() {
    CStirpexApp& app = start();
    QVERIFY(app.InitInstance());
    QVERIFY(app.OpenFile(m_large));
    CChildFrame* frame = app.MainFrame().ActiveChild();
    QVERIFY(frame != nullptr);
    OpenGedcom& document = frame->Document();
    QVERIFY(document.IndexPending());
    bool barShown = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] { barShown = barShown || shownProgress(QStringLiteral("Indexing")); });
    watch.start(1);
    QVERIFY(app.MainFrame().Trigger(ID_EDIT_FIND));
    watch.stop();
    QVERIFY(barShown);
    QVERIFY(!document.IndexPending());
    QVERIFY(document.NameList().isVisible());

    LocaleCollator collator;
    NameIndex made(collator);
    made.BuildIndex(document.Doc());
    const NameIndex& built = document.Index();
    QCOMPARE(built.size(), made.size());
    for (int i = 0; i < made.size(); i += 997) {
        QCOMPARE(built.personAt(i), made.personAt(i));
    }
}

void BackgroundLoadTest::closingTheMainWindowGivesTheReadUp() {
    CStirpexApp& app = start();
    QVERIFY(app.InitInstance());
    bool closed = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (!closed && app.Documents().Loading()) {
            closed = true;
            app.MainFrame().close();
        }
    });
    watch.start(1);
    QVERIFY(!app.OpenFile(m_large));
    watch.stop();
    QVERIFY(closed);
    QCOMPARE(app.Documents().Count(), 0);
    QCOMPARE(app.MainFrame().MdiArea().subWindowList().size(), 0);
    QVERIFY(app.RecentFiles().Entries().empty());
}

QTEST_MAIN(BackgroundLoadTest)
#include "background_load_test.moc"
