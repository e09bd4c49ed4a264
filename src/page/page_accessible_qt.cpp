#include "page/page_accessible_qt.h"

#include "page/page_pointer.h"
#include "page/page_text.h"
#include "page/stirpex_view.h"
#include "shell/open_gedcom_app.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>

#include <vector>

namespace stirpex {

namespace {

QString fromModel(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One link of the page, known by its place in the link table of the last
// paint: after a change of person the same object stands for the new page's
// link at that place.
class PageLinkAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PageLinkAccessible(CStirpexView* view, int link) : m_view(view), m_link(link) {}

    bool isValid() const override { return link() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Link; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        const PageLink* shown = link();
        if (shown == nullptr) {
            return {};
        }
        switch (t) {
        case QAccessible::Name:
            return fromModel(m_view->Page().LinkText(*shown));
        case QAccessible::Description:
            return description(*shown);
        default:
            return {};
        }
    }

    QRect rect() const override {
        const PageLink* shown = link();
        if (shown == nullptr) {
            return {};
        }
        const QRect client = m_view->ClientRect(shown->rect);
        return QRect(m_view->viewport()->mapToGlobal(client.topLeft()), client.size());
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.linked = true;
        state.focused = m_view && m_view->hasFocus() && m_view->Page().m_nFocus == m_link;
        const PageLink* shown = link();
        state.offscreen = shown == nullptr || !m_view->viewport()->rect().intersects(m_view->ClientRect(shown->rect));
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (!isValid()) {
            return;
        }
        if (action == pressAction()) {
            m_view->FollowLink(m_link);
        } else if (action == setFocusAction()) {
            m_view->setFocus();
            m_view->FocusLink(m_link);
        }
    }

private:
    const PageLink* link() const {
        if (!m_view || m_link < 0 || m_link >= static_cast<int>(m_view->Page().Links().size())) {
            return nullptr;
        }
        return &m_view->Page().Links()[static_cast<std::size_t>(m_link)];
    }

    static QString description(const PageLink& link) {
        switch (link.nKind) {
        case LINK_PERSON:
            return QStringLiteral("Show this person's page");
        case LINK_NOTES:
            return QStringLiteral("Show the notes");
        case LINK_SOURCES:
            return QStringLiteral("Show the sources");
        case LINK_MEDIA:
            return QStringLiteral("Open the media");
        default:
            return {};
        }
    }

    QPointer<CStirpexView> m_view;
    int m_link;
};

class PageAccessible final : public QAccessibleWidget {
public:
    explicit PageAccessible(CStirpexView* view) : QAccessibleWidget(view, QAccessible::Document) {}
    ~PageAccessible() override {
        for (const QAccessible::Id id : m_links) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
    PageAccessible(const PageAccessible&) = delete;
    PageAccessible& operator=(const PageAccessible&) = delete;

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return view()->windowTitle();
        case QAccessible::Description:
            return QStringLiteral("The person's page; Tab goes from link to link, Enter follows one");
        case QAccessible::Value: {
            const OpenGedcom& document = view()->Document();
            return fromModel(PageText(document.Doc(), view()->Page().m_pPerson, document.Title().toStdString(),
                                      document.HomePerson()));
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

    int childCount() const override { return static_cast<int>(view()->Page().Links().size()); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        if (static_cast<std::size_t>(index) >= m_links.size()) {
            m_links.resize(static_cast<std::size_t>(index) + 1, 0);
        }
        QAccessible::Id& id = m_links[static_cast<std::size_t>(index)];
        if (id == 0) {
            id = QAccessible::registerAccessibleInterface(new PageLinkAccessible(view(), index));
        }
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (std::size_t i = 0; i < m_links.size(); ++i) {
            if (m_links[i] == id && static_cast<int>(i) < childCount()) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint client = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QPoint page =
            client + QPoint(view()->horizontalScrollBar()->value(), view()->verticalScrollBar()->value());
        const PageLink* hit = view()->Page().HitTest(page.x(), page.y());
        if (hit == nullptr) {
            return nullptr;
        }
        return child(static_cast<int>(hit - view()->Page().Links().data()));
    }

    QAccessibleInterface* focusChild() const override {
        return view()->hasFocus() && FocusedLink(view()->Page()) != nullptr ? child(view()->Page().m_nFocus) : nullptr;
    }

private:
    CStirpexView* view() const { return static_cast<CStirpexView*>(widget()); }

    mutable std::vector<QAccessible::Id> m_links; // made when first asked for, 0 until then
};

QAccessibleInterface* pageFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("stirpex::CStirpexView")) {
        if (auto* view = qobject_cast<CStirpexView*>(object)) {
            return new PageAccessible(view);
        }
    }
    return nullptr;
}

} // namespace

void InstallPageAccessibility() {
    QAccessible::installFactory(pageFactory);
}

} // namespace stirpex
