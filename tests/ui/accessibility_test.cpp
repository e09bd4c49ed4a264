// What a screen reader finds in the windows: names and descriptions of the
// toolbar's image buttons and of the controls, the painted page's text and its
// links as focusable children that can be pressed, and the current person
// announced by the name list and the tree.

#include "find/name_list_dlg.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "trees/gedtree_dlg.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QAccessible>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QListView>
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

const Announced* lastAbout(QObject* object, QAccessible::Event type) {
    for (auto it = announced().rbegin(); it != announced().rend(); ++it) {
        if (it->object == object && it->type == type) {
            return &*it;
        }
    }
    return nullptr;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void toolbarButtonsAndControlsHaveNames();
    void pageGivesItsTextAndItsLinks();
    void linksCanBeFocusedAndPressed();
    void nameListAndTreeAnnounceTheCurrentPerson();

private:
    CStirpexView& view() const { return m_windows->View(); }
    QAccessibleInterface* page() const { return QAccessible::queryAccessibleInterface(&view()); }

    PageDialogs m_dialogs;
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
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
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
        // Whatever takes the keyboard focus says what it is.
        if (item->state().focusable && item->role() != QAccessible::Client) {
            QVERIFY2(!item->text(QAccessible::Name).isEmpty(),
                     qPrintable(item->object() ? item->object()->objectName() : QStringLiteral("a child")));
        }
    });
    QCOMPARE(buttons, static_cast<int>(std::count_if(ToolbarButtons().begin(), ToolbarButtons().end(),
                                                     [](int command) { return command != ID_SEPARATOR; })));
    QVERIFY(pageFound);
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
