#pragma once

// A main window with the documents class over it and a file opened and
// painted in it: the set-up of every test of the page and its dialogs.

#include "find/locale_collator_qt.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "ui_support.h"

#include <QtTest>

#include <functional>
#include <memory>
#include <string>

namespace stirpex::test {

class PageWindows {
public:
    // `dialogs` must outlive the windows; `argumentText` is what "-i" is read from.
    explicit PageWindows(const PageDialogs& dialogs, std::string argumentText = {}) {
        LoadServices services;
        services.messages = &messages;
        services.collator = &m_collator;
        services.argumentText = std::move(argumentText);
        m_frame = std::make_unique<CMainFrame>();
        m_documents = std::make_unique<DocumentSet>(m_frame->MdiArea(), services, dialogs);
        QObject::connect(m_documents.get(), &DocumentSet::statisticsChanged, m_frame.get(), &CMainFrame::SetStatsText);
        m_frame->show();
    }
    ~PageWindows() {
        m_documents.reset(); // the windows before the frame that holds them
        m_frame.reset();
    }
    PageWindows(const PageWindows&) = delete;
    PageWindows& operator=(const PageWindows&) = delete;

    // Opens the file and waits for its page's first paint; false when it did not open or paint.
    bool Open(const QString& path = SamplePath()) {
        return QTest::qWaitForWindowExposed(m_frame.get()) && m_documents->OpenDocumentFile(path) &&
               QTest::qWaitFor([this] { return m_frame->ActiveView() && !m_frame->ActiveView()->Page().m_bFirstDraw; });
    }

    CMainFrame& Frame() const noexcept { return *m_frame; }
    DocumentSet& Documents() const noexcept { return *m_documents; }
    CStirpexView& View() const { return *m_frame->ActiveView(); }

    RecordedMessages messages;

private:
    LocaleCollator m_collator;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<DocumentSet> m_documents;
};

// Hands the next modal dialog to `inspect` from inside the dialog's own loop,
// then closes it. It looks again until one is up: a command may first wait,
// with events running, for the document's name index to be built.
inline void InNextModal(std::function<void(QWidget&)> inspect, int triesLeft = 500) {
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [inspect = std::move(inspect), triesLeft]() mutable {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) {
            if (triesLeft > 0) {
                InNextModal(std::move(inspect), triesLeft - 1);
            }
            return;
        }
        if (QTest::qWaitForWindowExposed(dialog)) {
            inspect(*dialog);
        }
        dialog->close();
    });
}

// The link to the person with this key on the view's last paint, or null.
inline const PageLink* LinkTo(const CStirpexView& view, const char* key) {
    const CPerson* target = view.GetDocument().FindPerson(key);
    for (const PageLink& link : view.Page().Links()) {
        if (link.nKind == LINK_PERSON && target && link.nIndex == target->m_nIndex) {
            return &link;
        }
    }
    return nullptr;
}

} // namespace stirpex::test
