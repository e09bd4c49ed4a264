// What a screen reader finds in the windows: names and descriptions of the
// toolbar's image buttons and of the controls of every window and dialog, the
// painted page's text and its links as focusable children that can be pressed,
// a chart's boxes as children that follow the focus box and can be pressed,
// and the current person announced by the name list and the tree.

#include "charts/chart_frame.h"
#include "charts/chart_view.h"
#include "find/goto_dlg.h"
#include "find/locale_collator_qt.h"
#include "find/name_list_dlg.h"
#include "find/search_dlg.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/about_dlg.h"
#include "shell/command_table.h"
#include "shell/file_prop_dlg.h"
#include "shell/image_view.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "shell/progress_dlg.h"
#include "story/story_dlg.h"
#include "trees/gedtree_dlg.h"
#include "trees/relationship_dlg.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QAccessible>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

using namespace stirpex;

namespace {

struct Announced {
    QObject* object = nullptr;
    QAccessible::Event type = QAccessible::Focus;
    int child = -1;
    QString childName; // read when the event came, while the child is still what it named
};

// What the windows told assistive technology, in order; the test's own stand-in for a screen reader.
std::vector<Announced>& announced() {
    static std::vector<Announced> events;
    return events;
}

void record(QAccessibleEvent* event) {
    Announced seen{event->object(), event->type(), event->child(), {}};
    if (QAccessibleInterface* described = event->accessibleInterface()) {
        seen.childName = described->text(QAccessible::Name);
    }
    announced().push_back(seen);
}

// Every interface below `root`, depth first.
void walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit, int depth = 0) {
    if (root == nullptr || depth > 40) {
        return;
    }
    visit(root);
    for (int i = 0; i < root->childCount(); ++i) {
        walk(root->child(i), visit, depth + 1);
    }
}

// Every control below `window` that takes the keyboard focus, is in sight and
// has no name: from its own text, its buddy label, its group's title or an
// accessible name, whichever Qt finds. Each as its class and object name.
QStringList unnamedControls(QWidget& window) {
    QStringList unnamed;
    walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface* item) {
        const QAccessible::State state = item->state();
        if (state.focusable && !state.invisible && item->text(QAccessible::Name).trimmed().isEmpty()) {
            const QObject* object = item->object();
            unnamed << (object ? QString::fromLatin1(object->metaObject()->className()) + QLatin1Char(' ') +
                                     object->objectName()
                               : QStringLiteral("a child of role %1").arg(item->role()));
        }
    });
    return unnamed;
}

// How a row of the walk over the windows opens its window, hands it to
// `inspect` and closes it again.
using Inspect = std::function<void(QWidget&)>;
using OpenWindow = std::function<void(test::PageWindows&, const Inspect&)>;

OpenWindow modalOf(int command) {
    return [command](test::PageWindows& windows, const Inspect& inspect) {
        test::InNextModal(inspect);
        windows.Frame().Trigger(command);
    };
}

// A window of its own, not modal, opened by `command` and found as `find` says.
OpenWindow modelessOf(int command, const std::function<QWidget*(test::PageWindows&)>& find) {
    return [command, find](test::PageWindows& windows, const Inspect& inspect) {
        QWidget* window = windows.Frame().Trigger(command) ? find(windows) : nullptr;
        if (window != nullptr && QTest::qWaitForWindowExposed(window)) {
            inspect(*window);
            window->close();
        }
    };
}

// A window no command of the main window opens by itself, made here.
template <typename Window> OpenWindow madeBy(const std::function<std::unique_ptr<Window>(test::PageWindows&)>& make) {
    return [make](test::PageWindows& windows, const Inspect& inspect) {
        const std::unique_ptr<Window> window = make(windows);
        window->show();
        if (QTest::qWaitForWindowExposed(window.get())) {
            inspect(*window);
        }
    };
}

const Announced* lastAbout(QObject* object, QAccessible::Event type) {
    for (auto it = announced().rbegin(); it != announced().rend(); ++it) {
        if (it->object == object && it->type == type) {
            return &*it;
        }
    }
    return nullptr;
}

// What a box shows, line under line, as one line of text.
QString shownTexts(const ChartView& chart, std::int32_t box) {
    QStringList lines;
    for (const ChartText& text : chart.Chart().textsOf(chart.Chart().boxes[static_cast<std::size_t>(box)])) {
        lines << QString::fromStdString(text.text);
    }
    return lines.join(QStringLiteral(", "));
}

} // namespace

Q_DECLARE_METATYPE(OpenWindow)

class AccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void toolbarButtonsAndControlsHaveNames();
    void everyWindowNamesItsControls_data();
    void everyWindowNamesItsControls();
    void pageGivesItsTextAndItsLinks();
    void linksCanBeFocusedAndPressed();
    void chartBoxesAreSpokenAsTheFocusMoves();
    void chartBoxesCanBeFoundAndPressed();
    void nameListAndTreeAnnounceTheCurrentPerson();

private:
    CStirpexView& view() const { return m_windows->View(); }
    QAccessibleInterface* page() const { return QAccessible::queryAccessibleInterface(&view()); }
    ChartFrame* openPedigree();

    PageDialogs m_dialogs;
    LocaleCollator m_collator;
    std::array<QIcon, 3> m_icons;
    std::unique_ptr<test::PageWindows> m_windows;
};

// As a screen reader's start switches it on on the desktop.
void AccessibilityTest::initTestCase() {
    QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform != nullptr);
    platform->setActive(true);
    QVERIFY(QAccessible::isActive());
    QAccessible::installUpdateHandler(record);
}

void AccessibilityTest::init() {
    m_icons = {QIcon(QStringLiteral(":/tree/partner.png")), QIcon(QStringLiteral(":/tree/male.png")),
               QIcon(QStringLiteral(":/tree/female.png"))};
    m_dialogs.find = [](CStirpexView& page) { ShowNameList(page, nullptr); };
    m_dialogs.tree = [this](CStirpexView& page, int kind) {
        return ShowTreeDialog(page, kind, m_icons, &m_windows->messages);
    };
    m_dialogs.search = [this](CStirpexView& page) { return ShowSearch(page, m_collator); };
    m_dialogs.properties = [](CStirpexView& page) { return ShowProperties(page); };
    m_dialogs.relationship = [](CStirpexView& page) { return ShowRelationship(page, nullptr); };
    m_dialogs.goTo = [](CStirpexView& page) { return ShowGoTo(page); };
    m_dialogs.chart = [](CStirpexView& page, int command) { OpenChart(page, command); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    m_windows->Frame().SetHandler(ID_APP_ABOUT, [this] { ShowAbout(&m_windows->Frame(), &m_windows->messages); });
    QVERIFY(m_windows->Open());
    announced().clear();
}

void AccessibilityTest::cleanup() {
    m_windows.reset();
}

void AccessibilityTest::toolbarButtonsAndControlsHaveNames() {
    const auto* toolBar = m_windows->Frame().findChild<QToolBar*>(QStringLiteral("toolBar"));
    QVERIFY(toolBar != nullptr);
    int buttons = 0;
    bool pageFound = false;
    walk(QAccessible::queryAccessibleInterface(&m_windows->Frame()), [&](QAccessibleInterface* item) {
        if (item->object() == &view()) {
            pageFound = true;
        }
        for (const int command : ToolbarButtons()) {
            QAction* action = m_windows->Frame().Action(command);
            if (action != nullptr && item->object() == toolBar->widgetForAction(action)) {
                ++buttons;
                const CommandInfo* info = FindCommand(command);
                QCOMPARE(item->text(QAccessible::Name), QString::fromUtf8(info->tooltip.data(), info->tooltip.size()));
                QCOMPARE(item->text(QAccessible::Description),
                         QString::fromUtf8(info->prompt.data(), info->prompt.size()));
            }
        }
    });
    // Whatever takes the keyboard focus says what it is.
    const QStringList unnamed = unnamedControls(m_windows->Frame());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    QCOMPARE(buttons, static_cast<int>(std::count_if(ToolbarButtons().begin(), ToolbarButtons().end(),
                                                     [](int command) { return command != ID_SEPARATOR; })));
    QVERIFY(pageFound);
}

// Every dialog and window of the program, each as the user opens it.
void AccessibilityTest::everyWindowNamesItsControls_data() {
    QTest::addColumn<OpenWindow>("open");
    QTest::newRow("search") << modalOf(ID_EDIT_SEARCH);
    QTest::newRow("file properties") << modalOf(ID_FILE_PROPERTIES);
    QTest::newRow("reading report") << OpenWindow([](test::PageWindows& windows, const Inspect& inspect) {
        test::InNextModal([inspect](QWidget& properties) {
            test::InNextModal(inspect);
            static_cast<CFilePropDlg&>(properties).m_btnReport->click();
        });
        windows.Frame().Trigger(ID_FILE_PROPERTIES);
    });
    QTest::newRow("relationship") << modalOf(ID_VIEW_RELATIONSHIP);
    QTest::newRow("name list") << modelessOf(
        ID_EDIT_FIND, [](test::PageWindows& windows) -> QWidget* { return &windows.View().Document().NameList(); });
    QTest::newRow("go to") << modalOf(ID_EDIT_GOTO);
    QTest::newRow("notes") << madeBy<CStoryDlg>(
        [](test::PageWindows& windows) { return std::make_unique<CStoryDlg>(&windows.Frame()); });
    QTest::newRow("tree") << modalOf(ID_VIEW_DESCENDANTS);
    for (const auto& [name, command] :
         {std::pair{"pedigree chart", ID_CHART_PEDIGREE}, std::pair{"descendants chart", ID_CHART_DESCENDANTS},
          std::pair{"hourglass chart", ID_CHART_HOURGLASS}, std::pair{"fan chart", ID_CHART_FAN}}) {
        QTest::newRow(name) << modelessOf(
            command, [](test::PageWindows& windows) -> QWidget* { return windows.View().findChild<ChartFrame*>(); });
    }
    QTest::newRow("image") << madeBy<ImageView>([](test::PageWindows& windows) {
        QImage image(120, 90, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        return std::make_unique<ImageView>(image, QStringLiteral("portrait.png"), &windows.Frame());
    });
    QTest::newRow("progress") << madeBy<CProgressDlg>([](test::PageWindows&) {
        auto progress = std::make_unique<CProgressDlg>();
        progress->SetText(QStringLiteral("Reading harrow_family.ged"));
        progress->AllowCancel([] {});
        return progress;
    });
    QTest::newRow("about") << modalOf(ID_APP_ABOUT);
}

void AccessibilityTest::everyWindowNamesItsControls() {
    QFETCH(OpenWindow, open);
    bool walked = false;
    QStringList unnamed;
    open(*m_windows, [&](QWidget& window) {
        walked = true;
        unnamed = unnamedControls(window);
    });
    QVERIFY(walked);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

void AccessibilityTest::pageGivesItsTextAndItsLinks() {
    QAccessibleInterface* described = page();
    QVERIFY(described != nullptr);
    QCOMPARE(described->role(), QAccessible::Document);
    QCOMPARE(described->text(QAccessible::Name), view().windowTitle());
    const CPerson* shown = view().Page().m_pPerson;
    const QString value = described->text(QAccessible::Value);
    QVERIFY2(value.contains(QString::fromUtf8(shown->m_strSurname.view())), qPrintable(value));

    const std::vector<PageLink>& links = view().Page().Links();
    QVERIFY(links.size() > 3);
    QCOMPARE(described->childCount(), static_cast<int>(links.size()));
    for (int i = 0; i < described->childCount(); ++i) {
        QAccessibleInterface* link = described->child(i);
        QVERIFY(link != nullptr && link->isValid());
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->parent(), described);
        QCOMPARE(described->indexOfChild(link), i);
        const std::string_view text = view().Page().LinkText(links[static_cast<std::size_t>(i)]);
        QCOMPARE(link->text(QAccessible::Name), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        QVERIFY(!link->text(QAccessible::Description).isEmpty());
        QVERIFY(link->state().focusable);
        // The screen reader's pointer finds the link where it is drawn.
        if (!link->state().offscreen) {
            const QPoint centre = link->rect().center();
            QCOMPARE(described->childAt(centre.x(), centre.y()), link);
        }
    }
}

void AccessibilityTest::linksCanBeFocusedAndPressed() {
    const PageLink* father = test::LinkTo(view(), "I2");
    QVERIFY(father != nullptr);
    const int index = static_cast<int>(father - view().Page().Links().data());
    const int person = father->nIndex;
    QAccessibleInterface* link = page()->child(index);
    QAccessibleActionInterface* actions = link->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));

    actions->doAction(QAccessibleActionInterface::setFocusAction());
    QCOMPARE(view().Page().m_nFocus, index);
    QVERIFY(link->state().focused);
    QCOMPARE(page()->focusChild(), link);
    const Announced* focus = lastAbout(&view(), QAccessible::Focus);
    QVERIFY(focus != nullptr);
    QCOMPARE(focus->child, index);

    actions->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(view().Page().m_pPerson->m_nIndex, person);
    // The new page is told, and the children are its links.
    QTRY_VERIFY(lastAbout(&view(), QAccessible::ObjectReorder) != nullptr);
    QCOMPARE(page()->childCount(), static_cast<int>(view().Page().Links().size()));
}

// The pedigree of Carl Brandt, its view holding the keyboard focus, nothing announced yet.
ChartFrame* AccessibilityTest::openPedigree() {
    if (!m_windows->Open(QStringLiteral(STIRPEX_TEST_DATA_DIR "/chart_pedigree.ged"))) {
        return nullptr;
    }
    view().ShowPerson(view().GetDocument().FindPerson("I1"));
    auto* chart = m_windows->Frame().Trigger(ID_CHART_PEDIGREE) ? view().findChild<ChartFrame*>() : nullptr;
    if (chart == nullptr || !QTest::qWaitForWindowExposed(chart)) {
        return nullptr;
    }
    chart->activateWindow();
    chart->View().setFocus();
    if (!QTest::qWaitFor([chart] { return chart->View().hasFocus(); })) {
        return nullptr;
    }
    announced().clear();
    return chart;
}

void AccessibilityTest::chartBoxesAreSpokenAsTheFocusMoves() {
    ChartFrame* chart = openPedigree();
    QVERIFY(chart != nullptr);
    ChartView& boxes = chart->View();
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&boxes);
    QCOMPARE(described->childCount(), static_cast<int>(boxes.Chart().boxes.size()));
    QCOMPARE(described->focusChild(), described->child(0));
    QCOMPARE(described->child(0)->text(QAccessible::Name), QStringLiteral("Brandt, Carl, 1900-?"));

    // Each step of the arrow keys is told with the box it reached, by what the box shows.
    const Qt::Key keys[] = {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Up, Qt::Key_Right};
    for (const Qt::Key key : keys) {
        const std::int32_t before = boxes.FocusBox();
        QTest::keyClick(&boxes, key);
        QVERIFY(boxes.FocusBox() != before);
        const Announced* focus = lastAbout(&boxes, QAccessible::Focus);
        QVERIFY(focus != nullptr);
        QCOMPARE(focus->child, boxes.FocusBox());
        QCOMPARE(focus->childName, shownTexts(boxes, boxes.FocusBox()));
        QVERIFY(described->child(focus->child)->state().focused);
        QCOMPARE(described->focusChild(), described->child(focus->child));
    }

    // A new chart is told from its centre person on.
    chart->GenerationsBox().setValue(3);
    const Announced* redrawn = lastAbout(&boxes, QAccessible::Focus);
    QVERIFY(redrawn != nullptr);
    QCOMPARE(redrawn->child, 0);
    QCOMPARE(redrawn->childName, QStringLiteral("Brandt, Carl, 1900-?"));
    QCOMPARE(described->childCount(), static_cast<int>(boxes.Chart().boxes.size()));

    // With the keyboard elsewhere the focus box is no one's focus: nothing is said.
    chart->GenerationsBox().setFocus();
    QTRY_VERIFY(!boxes.hasFocus());
    announced().clear();
    boxes.SetFocusBox(1);
    QCOMPARE(lastAbout(&boxes, QAccessible::Focus), nullptr);
    QVERIFY(!described->child(1)->state().focused);
}

void AccessibilityTest::chartBoxesCanBeFoundAndPressed() {
    ChartFrame* chart = openPedigree();
    QVERIFY(chart != nullptr);
    ChartView& boxes = chart->View();
    const std::vector<ChartBox>& drawn = boxes.Chart().boxes;
    const std::int32_t mother = view().GetDocument().FindPerson("I3")->m_nIndex;
    const auto at = [&](auto found) {
        return static_cast<int>(std::find_if(drawn.begin(), drawn.end(), found) - drawn.begin());
    };
    const int motherBox = at([&](const ChartBox& box) { return box.person == mother; });
    const int emptyBox = at([](const ChartBox& box) { return box.person < 0; });
    const int repeatBox = at([](const ChartBox& box) { return box.firstBox >= 0; });
    QVERIFY(motherBox < static_cast<int>(drawn.size()) && emptyBox < static_cast<int>(drawn.size()) &&
            repeatBox < static_cast<int>(drawn.size()));

    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&boxes);
    int pointedAt = 0;
    for (const int box : {0, motherBox, emptyBox, repeatBox}) {
        QAccessibleInterface* item = described->child(box);
        QVERIFY(item != nullptr && item->isValid());
        QCOMPARE(item->parent(), described);
        QCOMPARE(described->indexOfChild(item), box);
        // The screen reader's pointer finds the box where it is drawn.
        if (!item->state().offscreen) {
            QCOMPARE(described->childAt(item->rect().center().x(), item->rect().center().y()), item);
            ++pointedAt;
        }
    }
    QVERIFY(pointedAt > 0);
    QCOMPARE(described->child(emptyBox)->text(QAccessible::Name), QStringLiteral("Unknown mother"));
    QCOMPARE(described->child(repeatBox)->text(QAccessible::Name), QStringLiteral("Brandt, Karl, ?-c1850, Repeated"));
    // An empty box is no one: there is no page to show.
    QVERIFY(!described->child(emptyBox)->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));

    // Pressing the mother's box shows her page, as Enter would.
    QSignalSpy chosen(&boxes, &ChartView::personChosen);
    described->child(motherBox)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.front().front().value<std::int32_t>(), mother);
    QCOMPARE(boxes.FocusBox(), motherBox);
    QTRY_COMPARE(view().Page().m_pPerson->m_nIndex, mother);
    const Announced* focus = lastAbout(&boxes, QAccessible::Focus);
    QVERIFY(focus != nullptr);
    QCOMPARE(focus->child, motherBox);
}

void AccessibilityTest::nameListAndTreeAnnounceTheCurrentPerson() {
    const CPerson* current = view().Page().m_pPerson;
    const QString given = QString::fromUtf8(current->m_strGivenNames.view());
    QVERIFY(m_windows->Frame().Trigger(ID_EDIT_FIND));
    const CNameListDlg& list = view().Document().NameList();
    const Announced* listed = lastAbout(list.m_lbNames, QAccessible::Selection);
    QVERIFY(listed != nullptr);
    QVERIFY(listed->child >= 0);
    QVERIFY2(listed->childName.contains(given), qPrintable(listed->childName));
    view().Document().NameList().hide();

    // The tree has the focus when it opens, on the page's person: the view itself tells it.
    announced().clear();
    QString treeName;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<CGedTreeDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (QTest::qWaitForWindowExposed(dialog)) {
            for (const Announced& told : announced()) {
                if (told.object == dialog->m_wndTree && told.child >= 0 &&
                    (told.type == QAccessible::Focus || told.type == QAccessible::Selection)) {
                    treeName = told.childName;
                }
            }
        }
        dialog->reject();
    });
    QVERIFY(m_windows->Frame().Trigger(ID_VIEW_ANCESTORS));
    QVERIFY2(treeName.contains(given), qPrintable(treeName));
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
