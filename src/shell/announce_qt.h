#pragma once

// Tells assistive technology which entry of a list or tree is now the current
// one when the program, not the user, has chosen it (the page's person
// selected in the name list while the name field has the focus): the views
// themselves announce only what changes while they have the keyboard focus.

#include <QAbstractItemView>
#include <QAccessible>

namespace stirpex {

inline void AnnounceCurrentItem(QAbstractItemView& view) {
    const QModelIndex current = view.currentIndex();
    if (!QAccessible::isActive() || !current.isValid()) {
        return;
    }
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&view);
    if (described == nullptr) {
        return;
    }
    // The entry's accessible child is found where the entry is drawn: the views number their children by row on
    // screen, which only they know.
    const QPoint centre = view.viewport()->mapToGlobal(view.visualRect(current).center());
    QAccessibleInterface* item = described->childAt(centre.x(), centre.y());
    const int child = item ? described->indexOfChild(item) : -1;
    QAccessibleEvent selection(&view, QAccessible::Selection);
    selection.setChild(child);
    QAccessible::updateAccessibility(&selection);
    if (view.hasFocus()) {
        QAccessibleEvent focus(&view, QAccessible::Focus);
        focus.setChild(child);
        QAccessible::updateAccessibility(&focus);
    }
}

} // namespace stirpex
