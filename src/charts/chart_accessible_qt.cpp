#include "charts/chart_accessible_qt.h"

#include "charts/box_text.h"
#include "charts/chart_view.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <cstdint>
#include <string>
#include <unordered_map>

namespace stirpex {

namespace {

// One box of the chart, known by its index: after a new chart the same object
// stands for the new chart's box at that index.
class ChartBoxAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ChartBoxAccessible(ChartView* view, std::int32_t box) : m_view(view), m_box(box) {}

    bool isValid() const override { return shown() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    // A person's box is pressed to show the page; an empty box only says whom it stands for.
    QAccessible::Role role() const override { return isPerson() ? QAccessible::Button : QAccessible::StaticText; }

    QString text(QAccessible::Text t) const override {
        if (shown() == nullptr) {
            return {};
        }
        switch (t) {
        case QAccessible::Name:
            return QString::fromStdString(SpokenBoxText(m_view->Chart(), static_cast<std::size_t>(m_box)));
        case QAccessible::Description:
            return isPerson() ? QStringLiteral("Enter shows this person's page") : QString();
        default:
            return {};
        }
    }

    QRect rect() const override {
        if (shown() == nullptr) {
            return {};
        }
        const QRect client = m_view->ViewportRect(m_box);
        return QRect(m_view->viewport()->mapToGlobal(client.topLeft()), client.size());
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.focused = m_view && m_view->hasFocus() && m_view->FocusBox() == m_box;
        state.offscreen = shown() == nullptr || !m_view->viewport()->rect().intersects(m_view->ViewportRect(m_box));
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override {
        return isPerson() ? QStringList{pressAction(), setFocusAction()} : QStringList{setFocusAction()};
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (shown() == nullptr) {
            return;
        }
        if (action == pressAction()) {
            m_view->ChooseBox(m_box);
        } else if (action == setFocusAction()) {
            m_view->setFocus();
            m_view->SetFocusBox(m_box);
        }
    }

    const ChartView* view() const { return m_view.data(); }
    std::int32_t box() const noexcept { return m_box; }

private:
    const ChartBox* shown() const {
        if (!m_view || m_box < 0 || static_cast<std::size_t>(m_box) >= m_view->Chart().boxes.size()) {
            return nullptr;
        }
        return &m_view->Chart().boxes[static_cast<std::size_t>(m_box)];
    }
    bool isPerson() const {
        const ChartBox* box = shown();
        return box != nullptr && box->person >= 0;
    }

    QPointer<ChartView> m_view;
    std::int32_t m_box;
};

class ChartAccessible final : public QAccessibleWidget {
public:
    explicit ChartAccessible(ChartView* view) : QAccessibleWidget(view, QAccessible::Client) {}
    ~ChartAccessible() override {
        for (const auto& [box, id] : m_boxes) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
    ChartAccessible(const ChartAccessible&) = delete;
    ChartAccessible& operator=(const ChartAccessible&) = delete;

    int childCount() const override { return static_cast<int>(view()->Chart().boxes.size()); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        // Only the boxes asked for are made: a screen reader asks for a few, a chart may hold half a million.
        QAccessible::Id& id = m_boxes[index];
        if (id == 0) {
            id = QAccessible::registerAccessibleInterface(new ChartBoxAccessible(view(), index));
        }
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* box = dynamic_cast<const ChartBoxAccessible*>(child);
        return box != nullptr && box->view() == view() && box->box() < childCount() ? box->box() : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint client = view()->viewport()->mapFromGlobal(QPoint(x, y));
        // Under a scroll bar lie boxes no one sees.
        const std::int32_t box = view()->viewport()->rect().contains(client) ? view()->BoxAt(client) : -1;
        return box < 0 ? nullptr : child(box);
    }

    QAccessibleInterface* focusChild() const override {
        return view()->hasFocus() && view()->FocusBox() >= 0 ? child(view()->FocusBox()) : nullptr;
    }

private:
    ChartView* view() const { return static_cast<ChartView*>(widget()); }

    mutable std::unordered_map<std::int32_t, QAccessible::Id> m_boxes; // by box index, made when first asked for
};

QAccessibleInterface* chartFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("stirpex::ChartView")) {
        if (auto* view = qobject_cast<ChartView*>(object)) {
            return new ChartAccessible(view);
        }
    }
    return nullptr;
}

} // namespace

void InstallChartAccessibility() {
    QAccessible::installFactory(chartFactory);
}

} // namespace stirpex
