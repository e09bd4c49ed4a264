// The home person and what the app remembers of a file, in the whole
// application: View > Set Home Person, the Home button, key and menu item and
// when they are enabled, the page's home line, the relationship dialog's home
// button, and a file that reopens where it was left (its home person, its
// window's size, the person last shown), also after a restart; the start
// option still wins, and a remembered key that names nobody does no harm.

#include "model/stirpex_doc.h"
#include "page/page_pointer.h"
#include "page/page_text.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "shell/stirpex_app.h"
#include "trees/relationship_dlg.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace stirpex;

namespace {

const QString kOther = QStringLiteral(STIRPEX_TEST_DATA_DIR "/accented_names.ged");

// Painted at least once, and not waiting to paint a person just chosen.
bool painted(const CMainFrame& frame) {
    const CStirpexView* view = frame.ActiveView();
    return view != nullptr && !view->Page().m_bFirstDraw && !view->Page().m_bNewPerson;
}

QString currentId(const CMainFrame& frame) {
    return QString::fromUtf8(frame.ActiveView()->Page().m_pPerson->m_strID.view());
}

QAction* viewMenuItem(CMainFrame& frame, int command) {
    for (QAction* menu : frame.menuBar()->actions()) {
        if (menu->text() == QStringLiteral("&View")) {
            for (QAction* item : menu->menu()->actions()) {
                if (item->data().toInt() == command) {
                    return item;
                }
            }
        }
    }
    return nullptr;
}

} // namespace

class HomePersonTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void homeCommandsFollowTheActiveFile();
    void homeLineSaysWhatThePersonShownIsToTheHomePerson();
    void relationshipDialogOffersTheHomePerson();
    void fileReopensWhereItWasLeft();
    void startOptionStillWins();
    void keysThatNameNobodyFallBackToTheFirstPerson();

private:
    CStirpexApp& start(const QStringList& arguments);
    CMainFrame& frame() const { return m_app->MainFrame(); }
    CStirpexView& view() const { return *frame().ActiveView(); }
    const CPerson* person(const char* key) const { return view().GetDocument().FindPerson(key); }
    void show(const char* key);
    QString copiedPage();
    void grab(const QString& name);

    test::RecordedMessages m_messages;
    std::unique_ptr<test::FreshSettings> m_settings;
    std::unique_ptr<CStirpexApp> m_app;
};

void HomePersonTest::init() {
    m_settings = std::make_unique<test::FreshSettings>();
    m_messages.shown.clear();
}

void HomePersonTest::cleanup() {
    m_app.reset();
    m_settings.reset();
}

CStirpexApp& HomePersonTest::start(const QStringList& arguments) {
    m_app.reset(); // a restart: the app before keeps what it remembers as it ends
    AppEnvironment env;
    env.messages = &m_messages;
    env.exit = [](int) {};
    env.singleInstance = false;
    env.registerFileTypes = false;
    std::vector<std::string> bytes;
    for (const QString& argument : arguments) {
        bytes.push_back(QFile::encodeName(argument).toStdString());
    }
    m_app = std::make_unique<CStirpexApp>(std::move(bytes), env);
    return *m_app;
}

void HomePersonTest::show(const char* key) {
    view().ShowPerson(person(key));
    QTRY_VERIFY(painted(frame()));
}

QString HomePersonTest::copiedPage() {
    QApplication::clipboard()->clear();
    if (!frame().Trigger(ID_EDIT_COPY)) {
        return {};
    }
    return QApplication::clipboard()->text();
}

// Named for the scale the test runs at (QT_SCALE_FACTOR=2 gives "@2x"), so both grabs can be compared.
void HomePersonTest::grab(const QString& name) {
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    const QPixmap pixmap = frame().grab();
    const QString scale =
        pixmap.devicePixelRatio() > 1 ? QStringLiteral("@%1x").arg(pixmap.devicePixelRatio()) : QString();
    QVERIFY(pixmap.save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/") + name + scale + QStringLiteral(".png")));
}

void HomePersonTest::homeCommandsFollowTheActiveFile() {
    QVERIFY(start({test::SamplePath(), kOther}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    CChildFrame* other = frame().ActiveChild();
    frame().MdiArea().setActiveSubWindow(frame().MdiArea().subWindowList().front());
    QCOMPARE(currentId(frame()), QStringLiteral("I1"));
    QAction* home = frame().Action(ID_VIEW_HOME);
    QAction* setHome = frame().Action(ID_VIEW_SET_HOME);
    QToolButton* button = qobject_cast<QToolButton*>(frame().findChild<QToolBar*>()->widgetForAction(home));
    QVERIFY(home && setHome && button);
    QCOMPARE(viewMenuItem(frame(), ID_VIEW_HOME), home);
    QCOMPARE(viewMenuItem(frame(), ID_VIEW_SET_HOME), setHome);
    QVERIFY(!home->isEnabled() && !button->isEnabled());
    QVERIFY(setHome->isEnabled());
    grab(QStringLiteral("home_toolbar_disabled"));

    QVERIFY(frame().Trigger(ID_VIEW_SET_HOME));
    QVERIFY(home->isEnabled() && button->isEnabled());
    QVERIFY(!setHome->isEnabled()); // already the home person

    // Alt+Home, the button and the View menu each bring the home person's page back.
    show("I38");
    QVERIFY(setHome->isEnabled());
    QTest::keyClick(&view(), Qt::Key_Home, Qt::AltModifier);
    QTRY_COMPARE(currentId(frame()), QStringLiteral("I1"));
    show("I38");
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE(currentId(frame()), QStringLiteral("I1"));
    show("I38");
    viewMenuItem(frame(), ID_VIEW_HOME)->trigger();
    QTRY_COMPARE(currentId(frame()), QStringLiteral("I1"));
    // Home from the home person's own page is no further visit: Back leads where it led before.
    QVERIFY(frame().Trigger(ID_VIEW_HOME));
    QVERIFY(frame().Trigger(ID_GO_BACK));
    QTRY_COMPARE(currentId(frame()), QStringLiteral("I38"));

    // The other file has no home person: the button follows the window that is active.
    frame().MdiArea().setActiveSubWindow(other);
    QVERIFY(!home->isEnabled() && !button->isEnabled());
    QTest::keyClick(&view(), Qt::Key_Home, Qt::AltModifier);
    QVERIFY(!frame().Trigger(ID_VIEW_HOME));
    frame().MdiArea().setActiveSubWindow(frame().MdiArea().subWindowList().front());
    QVERIFY(home->isEnabled() && button->isEnabled());
    // Without a document window nothing can be home.
    frame().MdiArea().closeAllSubWindows();
    QVERIFY(!home->isEnabled() && !setHome->isEnabled());
}

void HomePersonTest::homeLineSaysWhatThePersonShownIsToTheHomePerson() {
    QVERIFY(start({test::SamplePath()}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    frame().resize(900, 640);
    show("I38");
    const QString without = copiedPage();
    QVERIFY2(without.startsWith(QStringLiteral("harrow_family.ged - I38\n\nFamily Name")), qPrintable(without));
    QVERIFY(!without.contains(QStringLiteral("Relationship")));
    CChildFrame* shown = frame().ActiveChild();
    shown->resize(500, 100);
    QTRY_VERIFY(view().verticalScrollBar()->maximum() > 0);
    // The smaller window may still gain its horizontal scroll bar, which takes from the height.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const int scrollWithout = view().verticalScrollBar()->maximum();

    // The home person is set in a second window; the first, which shows someone else, gains the line.
    QVERIFY(frame().Trigger(ID_WINDOW_NEW));
    QTRY_VERIFY(painted(frame()));
    QCOMPARE(currentId(frame()), QStringLiteral("I1"));
    QVERIFY(frame().Trigger(ID_VIEW_SET_HOME));
    QCOMPARE(view().Document().HomePerson(), person("I1"));
    QVERIFY(!copiedPage().contains(QStringLiteral("Relationship"))); // not on the home person's own page
    frame().ActiveChild()->close();
    QTRY_COMPARE(frame().ActiveChild(), shown);
    QTRY_COMPARE(view().verticalScrollBar()->maximum(), scrollWithout + 20); // one line of the page
    const QString with = copiedPage();
    QCOMPARE(with,
             QString::fromStdString(PageText(view().GetDocument(), person("I38"), "harrow_family.ged", person("I1"))));
    QVERIFY(with.contains(QStringLiteral("\nRelationship:  great-great-grandson of  Harrow, William")));
    shown->resize(640, 460);
    QTRY_VERIFY(painted(frame()));
    grab(QStringLiteral("home_line"));

    // The home person's name is a link, on the line under the names.
    const PageLink* link = test::LinkTo(view(), "I1");
    QVERIFY(link != nullptr);
    QCOMPARE(link->rect.top, 40);
    const QPoint point = view().ClientRect(link->rect).center();
    QTest::mouseMove(view().viewport(), point + QPoint(1, 1));
    QTest::mouseMove(view().viewport(), point);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, point);
    QTRY_COMPARE(currentId(frame()), QStringLiteral("I1"));
}

void HomePersonTest::relationshipDialogOffersTheHomePerson() {
    QVERIFY(start({test::SamplePath()}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    QVERIFY(frame().Trigger(ID_VIEW_SET_HOME));
    show("I38");
    bool offered = false;
    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<CRelationshipDlg*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            offered = dialog->m_btnHome->isEnabled();
            dialog->m_btnHome->click();
            shown = dialog->m_textResult->toPlainText();
            dialog->reject();
        }
    });
    QVERIFY(frame().Trigger(ID_VIEW_RELATIONSHIP));
    QVERIFY(offered);
    QVERIFY2(shown.contains(QStringLiteral("great-great-grandfather of Daniel")), qPrintable(shown));
}

void HomePersonTest::fileReopensWhereItWasLeft() {
    QVERIFY(start({test::SamplePath()}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    show("I6");
    QVERIFY(frame().Trigger(ID_VIEW_SET_HOME));
    show("I38");
    frame().ActiveChild()->resize(620, 430);

    // Closed and opened again in the same run.
    QVERIFY(frame().Trigger(ID_FILE_CLOSE));
    QTRY_COMPARE(m_app->Documents().Count(), 0);
    QVERIFY(m_app->OpenFile(test::SamplePath()));
    QTRY_VERIFY(painted(frame()));
    QCOMPARE(currentId(frame()), QStringLiteral("I38"));
    QCOMPARE(frame().ActiveChild()->size(), QSize(620, 430));
    QCOMPARE(view().Document().HomePerson(), person("I6"));
    QVERIFY(frame().Action(ID_VIEW_HOME)->isEnabled());
    // The visit is the window's first: nothing to go back to.
    QVERIFY(!frame().Action(ID_GO_BACK)->isEnabled());

    // A later run, ended while the window is still open.
    show("I35");
    frame().ActiveChild()->resize(560, 410);
    QVERIFY(start({test::SamplePath()}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    QCOMPARE(currentId(frame()), QStringLiteral("I35"));
    QCOMPARE(frame().ActiveChild()->size(), QSize(560, 410));
    QCOMPARE(view().Document().HomePerson(), person("I6"));
    QVERIFY(copiedPage().contains(QStringLiteral("Relationship:  grandson of  Harrow, Arthur")));
    // A second window on the file starts at the file's start person, as it always has.
    QVERIFY(frame().Trigger(ID_WINDOW_NEW));
    QTRY_VERIFY(painted(frame()));
    QCOMPARE(currentId(frame()), QStringLiteral("I1"));
}

void HomePersonTest::startOptionStillWins() {
    QVERIFY(start({test::SamplePath()}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    QVERIFY(frame().Trigger(ID_VIEW_SET_HOME));
    show("I38");
    QVERIFY(start({test::SamplePath(), QStringLiteral("-i"), QStringLiteral("I7")}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    QCOMPARE(currentId(frame()), QStringLiteral("I7"));
    QCOMPARE(view().Document().HomePerson(), person("I1"));
    // A key the file does not have asks for nobody: the file opens where it was left.
    QVERIFY(start({test::SamplePath(), QStringLiteral("-i"), QStringLiteral("I404")}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    QCOMPARE(currentId(frame()), QStringLiteral("I7"));
}

// What a settings file holds after the GEDCOM file changed, or after an edit by hand.
void HomePersonTest::keysThatNameNobodyFallBackToTheFirstPerson() {
    {
        QSettings settings(QStringLiteral("Tessel Forge"), QStringLiteral("Stirpex"));
        settings.beginWriteArray(QStringLiteral("Remembered Files"));
        settings.setArrayIndex(0);
        settings.setValue(QStringLiteral("path"), DocumentKey(test::SamplePath()));
        settings.setValue(QStringLiteral("home"), QStringLiteral("I999"));
        settings.setValue(QStringLiteral("last"), QStringLiteral("@I2@"));
        settings.setValue(QStringLiteral("width"), -40);
        settings.setValue(QStringLiteral("height"), QStringLiteral("tall"));
        settings.endArray();
    }
    QVERIFY(start({test::SamplePath()}).InitInstance());
    QTRY_VERIFY(painted(frame()));
    QCOMPARE(currentId(frame()), QStringLiteral("I1"));
    QCOMPARE(frame().ActiveChild()->size(), QSize(500, 400));
    QCOMPARE(view().Document().HomePerson(), nullptr);
    QVERIFY(!frame().Action(ID_VIEW_HOME)->isEnabled());
    QVERIFY(m_messages.shown.isEmpty());
}

QTEST_MAIN(HomePersonTest)
#include "home_person_test.moc"
