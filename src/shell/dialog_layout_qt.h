#pragma once

// What the dialogs share about their layout: dialog units of the 8-point
// dialog font (a character cell of 6 by 13 pixels: 4 units across a
// character, 8 down), the wait cursor around a long build, and the rule by
// which a resizable dialog keeps the margins its controls had when it opened.

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace stirpex {

inline int DialogUnitsX(int units) {
    return units * 6 / 4;
}

inline int DialogUnitsY(int units) {
    return units * 13 / 8;
}

inline QRect DialogUnitsRect(int x, int y, int width, int height) {
    return {DialogUnitsX(x), DialogUnitsY(y), DialogUnitsX(width), DialogUnitsY(height)};
}

// The width a window needs for its whole title to show in a window manager's
// title bar: the title in a bold face (as most set it), and room for the
// window's icon and its three buttons, each about a title bar's height wide.
inline int TitleBarWidth(const QWidget& window) {
    QFont bold = window.font();
    bold.setBold(true);
    constexpr int kTitleBarHeight = 30;
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 4 * kTitleBarHeight;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Where a control goes in the client area `now` so that its four distances to
// the edges stay those it had to `client` at initialisation.
inline QRect FollowAllEdges(const QRect& now, const QRect& client, const QRect& control) {
    return QRect(
        QPoint(now.left() + (control.left() - client.left()), now.top() + (control.top() - client.top())),
        QPoint(now.right() + (control.right() - client.right()), now.bottom() + (control.bottom() - client.bottom())));
}

// Where a control goes that keeps its left position and its distance to the bottom edge.
inline QPoint FollowBottomEdge(const QRect& now, const QRect& client, const QRect& control) {
    return {control.left(), now.bottom() + (control.top() - client.bottom())};
}

} // namespace stirpex
