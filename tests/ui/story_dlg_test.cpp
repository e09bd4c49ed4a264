// The notes and sources viewer, opened by clicking the page's "Notes" and
// "Sources" links of the sample's first person, William (I1): his own notes
// and sources, his birth sources, and the marriage to Clara (F1), which has
// notes, marriage sources and divorce sources.

#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "story/story_dlg.h"
#include "story/story_text.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace stirpex;

namespace {

// What the viewer showed when it opened, before the test touched it.
struct Opened {
    QString caption;
    QString text;
    bool selection = true;
    int position = -1;
    bool endedByEnter = false;
};

} // namespace

class StoryDlgTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void linksOpenTheirListWithCaptionAndText_data();
    void linksOpenTheirListWithCaptionAndText();
    void boxFollowsTheWindowSize();

private:
    CStirpexView& view() const { return m_windows->View(); }
    const PageLink* findLink(int kind, int topic) const;
    // Clicks the link; `withDialog` runs inside the viewer's modal loop and must close it.
    void clickLink(const PageLink& link, std::function<void(CStoryDlg&)> withDialog);

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    QList<StoryRequest> m_requests;
};

void StoryDlgTest::init() {
    m_requests.clear();
    m_dialogs.story = [this](CStirpexView& view, const StoryRequest& request) {
        m_requests.append(request);
        ShowStory(view, request);
    };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open());
    m_windows->Frame().resize(1100, 700);
    m_windows->Frame().ActiveChild()->showMaximized();
    QTRY_COMPARE(view().Page().m_nNotesX, view().viewport()->width() - 95);
}

void StoryDlgTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY(shown.isEmpty());
}

const PageLink* StoryDlgTest::findLink(int kind, int topic) const {
    for (const PageLink& link : view().Page().Links()) {
        if (link.nKind == kind && link.nTopic == topic) {
            return &link;
        }
    }
    return nullptr;
}

void StoryDlgTest::clickLink(const PageLink& link, std::function<void(CStoryDlg&)> withDialog) {
    // Polled, not a single shot: the mouse moves below may run the event loop before the click.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&poll, withDialog] {
        if (auto* dialog = qobject_cast<CStoryDlg*>(QApplication::activeModalWidget())) {
            poll.stop();
            withDialog(*dialog);
        }
    });
    poll.start(5);
    const QPoint point = view().ClientRect(link.rect).topLeft() + QPoint(2, 2);
    QTest::mouseMove(view().viewport(), point + QPoint(1, 1));
    QTest::mouseMove(view().viewport(), point);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, point);
}

void StoryDlgTest::linksOpenTheirListWithCaptionAndText_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("heading");
    QTest::newRow("person notes") << int{LINK_NOTES} << int{TOPIC_PERSON} << QStringLiteral("Notes");
    QTest::newRow("person sources") << int{LINK_SOURCES} << int{TOPIC_PERSON} << QStringLiteral("Sources");
    QTest::newRow("birth sources") << int{LINK_SOURCES} << int{TOPIC_BIRTH} << QStringLiteral("Birth sources");
    QTest::newRow("marriage notes") << int{LINK_NOTES} << int{TOPIC_MARRIAGE} << QStringLiteral("Marriage notes");
    QTest::newRow("marriage sources") << int{LINK_SOURCES} << int{TOPIC_MARRIAGE} << QStringLiteral("Marriage sources");
    QTest::newRow("divorce sources") << int{LINK_SOURCES} << int{TOPIC_DIVORCE} << QStringLiteral("Divorce sources");
}

void StoryDlgTest::linksOpenTheirListWithCaptionAndText() {
    QFETCH(int, kind);
    QFETCH(int, topic);
    QFETCH(QString, heading);
    const PageLink* link = findLink(kind, topic);
    QVERIFY(link != nullptr);
    Opened opened;
    clickLink(*link, [&opened](CStoryDlg& dialog) {
        opened.caption = dialog.windowTitle();
        opened.text = dialog.m_editText->toPlainText();
        opened.selection = dialog.m_editText->textCursor().hasSelection();
        opened.position = dialog.m_editText->textCursor().position();
        // Enter ends the window as Escape does, instead of breaking the line.
        QTest::keyClick(dialog.m_editText, Qt::Key_Return);
        opened.endedByEnter = !dialog.isVisible();
        dialog.reject();
    });
    QCOMPARE(opened.caption, heading + QStringLiteral(" for William \u00c9mile Harrow"));
    QVERIFY(!opened.selection);
    QCOMPARE(opened.position, 0);
    QVERIFY(opened.endedByEnter);

    // The family of the marriage topics reaches the dialog; the text is the core's, line for line.
    QCOMPARE(m_requests.size(), 1);
    const bool ofFamily = topic == TOPIC_MARRIAGE || topic == TOPIC_DIVORCE;
    QCOMPARE(m_requests[0].family != nullptr, ofFamily);
    const CStirpexDoc& doc = view().GetDocument();
    const StoryText story = AssembleStory(doc, *view().Page().m_pPerson, kind, topic, m_requests[0].family);
    QVERIFY(!story.text.empty());
    QCOMPARE(opened.text, QString::fromStdString(story.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void StoryDlgTest::boxFollowsTheWindowSize() {
    const PageLink* link = findLink(LINK_NOTES, TOPIC_PERSON);
    QVERIFY(link != nullptr);
    QList<QRect> boxes;
    bool saved = false;
    clickLink(*link, [&](CStoryDlg& dialog) {
        boxes.append(dialog.m_editText->geometry());
        QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
        saved = dialog.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/story_dlg.png"));
        for (const QSize size : {QSize(610, 240), QSize(300, 420)}) {
            dialog.resize(size);
            QApplication::processEvents();
            boxes.append(dialog.m_editText->geometry());
        }
        dialog.reject();
    });
    QVERIFY(saved);
    // 282 by 222 dialog units to begin with, then the whole client area at every size.
    QCOMPARE(boxes, (QList<QRect>{QRect(0, 0, 423, 360), QRect(0, 0, 610, 240), QRect(0, 0, 300, 420)}));
}

QTEST_MAIN(StoryDlgTest)
#include "story_dlg_test.moc"
