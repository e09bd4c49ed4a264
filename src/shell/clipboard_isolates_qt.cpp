#include "shell/clipboard_isolates_qt.h"

#include "model/text_direction.h"

#include <QGuiApplication>
#include <QMimeData>

namespace stirpex {

namespace {

QString withoutIsolates(const QString& text) {
    return QString::fromStdString(WithoutIsolates(text.toStdString()));
}

// Text another program copied is left as it is. A platform that keeps the
// clipboard within the program names no owner; there a change made while one
// of the program's windows has the focus is the program's own.
bool isOurs(const QClipboard& clipboard, QClipboard::Mode mode) {
    const bool owned = mode == QClipboard::Clipboard   ? clipboard.ownsClipboard()
                       : mode == QClipboard::Selection ? clipboard.ownsSelection()
                                                       : clipboard.ownsFindBuffer();
    return owned || QGuiApplication::focusWindow() != nullptr;
}

} // namespace

std::uint64_t& ClipboardIsolates::changesOf(QClipboard::Mode mode) {
    return m_changes.at(static_cast<std::size_t>(mode));
}

ClipboardIsolates::ClipboardIsolates(QObject* parent) : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        const std::uint64_t change = ++changesOf(mode);
        // Whose the text is can only be told now, while the window that copied it has the focus; it is put back
        // once the copy has returned, as the widget that copied may still hold the data it handed over.
        if (isOurs(*QGuiApplication::clipboard(), mode)) {
            QMetaObject::invokeMethod(
                this, [this, mode, change] { clean(mode, change); }, Qt::QueuedConnection);
        }
    });
}

void ClipboardIsolates::clean(QClipboard::Mode mode, std::uint64_t change) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData(mode);
    // A later change, perhaps another program's, has replaced this one.
    if (data == nullptr || change != changesOf(mode)) {
        return;
    }
    const QString text = data->hasText() ? data->text() : QString();
    const QString html = data->hasHtml() ? data->html() : QString();
    const QString plainText = withoutIsolates(text);
    const QString plainHtml = withoutIsolates(html);
    // Also where the text put back comes round again, with nothing left to take out.
    if (plainText == text && plainHtml == html) {
        return;
    }
    auto* cleaned = new QMimeData;
    if (data->hasText()) {
        cleaned->setText(plainText);
    }
    if (data->hasHtml()) {
        cleaned->setHtml(plainHtml);
    }
    clipboard->setMimeData(cleaned, mode);
}

} // namespace stirpex
