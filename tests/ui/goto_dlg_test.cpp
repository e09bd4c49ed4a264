// The go-to dialog, opened by the page's Go To command on the sample: the
// key is taken as typed or in other case, an unknown key keeps the dialog
// open with a message, Cancel keeps the last accepted key.

#include "find/goto_dlg.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace stirpex;

class GoToDlgTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void keyIsMatchedAsTypedOrInOtherCase_data();
    void keyIsMatchedAsTypedOrInOtherCase();
    void cancelKeepsThePageAndTheLastKey();
    void unknownKeyKeepsTheDialogOpenWithAMessage();
    void dialogIsLaidOutAsItsTemplate();

private:
    CStirpexView& view() const { return m_windows->View(); }
    QString currentID() const { return QString::fromUtf8(view().Page().m_pPerson->m_strID.view()); }
    QString lastKey() const { return QString::fromStdString(view().GetDocument().m_strGoToID); }
    // Runs the command, types `text` into the dialog it opens and ends it with Enter or Escape.
    void goTo(const QString& text, bool accept);

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    QString m_fieldOnOpening;
};

void GoToDlgTest::init() {
    m_dialogs.goTo = [](CStirpexView& page) { return ShowGoTo(page); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open());
}

void GoToDlgTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY(shown.isEmpty());
}

void GoToDlgTest::goTo(const QString& text, bool accept) {
    m_fieldOnOpening = QStringLiteral("<not opened>");
    QTimer::singleShot(0, this, [this, text, accept] {
        auto* dialog = qobject_cast<CGoToDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("idEdit"));
        m_fieldOnOpening = field->text();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, accept ? Qt::Key_Return : Qt::Key_Escape);
    });
    QVERIFY(m_windows->Frame().Trigger(ID_EDIT_GOTO));
    QCOMPARE(m_fieldOnOpening, QString());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void GoToDlgTest::keyIsMatchedAsTypedOrInOtherCase_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("id");
    QTest::newRow("exact") << "I22"
                           << "I22";
    QTest::newRow("other case") << "i22"
                                << "I22";
}

void GoToDlgTest::keyIsMatchedAsTypedOrInOtherCase() {
    QFETCH(QString, typed);
    goTo(typed, true);
    QTEST(currentID(), "id");
    QCOMPARE(lastKey(), typed);
}

void GoToDlgTest::cancelKeepsThePageAndTheLastKey() {
    goTo(QStringLiteral("I22"), true);
    QCOMPARE(currentID(), QStringLiteral("I22"));
    goTo(QStringLiteral("I4"), false);
    QCOMPARE(currentID(), QStringLiteral("I22"));
    QCOMPARE(lastKey(), QStringLiteral("I22"));
    QCOMPARE(view().Page().m_history.position(), 2);
}

// At-signs, a blank, a family's key: the dialog stays, says which key names
// nobody, and takes a corrected key; the page moves only then.
void GoToDlgTest::unknownKeyKeepsTheDialogOpenWithAMessage() {
    QStringList messages;
    bool stayed = true;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<CGoToDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("idEdit"));
        auto* message = dialog->findChild<QLabel*>(QStringLiteral("idMessage"));
        for (const QString& typed : {QStringLiteral("@I22@"), QStringLiteral("I22 "), QStringLiteral("F1")}) {
            field->selectAll();
            QTest::keyClicks(field, typed);
            QVERIFY(message->isHidden());
            QTest::keyClick(field, Qt::Key_Return);
            stayed =
                stayed && dialog->isVisible() && message->isVisible() && dialog->rect().contains(message->geometry());
            messages.append(message->text());
        }
        QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
        dialog->grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/goto_unknown.png"));
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("i4"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    QVERIFY(m_windows->Frame().Trigger(ID_EDIT_GOTO));
    QVERIFY(stayed);
    QCOMPARE(messages, (QStringList{QStringLiteral("No person has the identifier \"@I22@\"."),
                                    QStringLiteral("No person has the identifier \"I22 \"."),
                                    QStringLiteral("No person has the identifier \"F1\".")}));
    QCOMPARE(currentID(), QStringLiteral("I4"));
    QCOMPARE(lastKey(), QStringLiteral("i4"));
}

void GoToDlgTest::dialogIsLaidOutAsItsTemplate() {
    CGoToDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Go to a person by ID reference"));
    QCOMPARE(dialog.findChild<QLabel*>()->text(), QStringLiteral("Go to this ID"));
    const auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ok"));
    const auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("cancel"));
    QVERIFY(ok->isDefault());
    // The field on the left under its label, the buttons on the right one under the other.
    QCOMPARE(dialog.m_editID->pos(), QPoint(10, 35));
    QVERIFY(ok->x() == cancel->x() && cancel->y() > ok->geometry().bottom());
    QVERIFY(dialog.rect().contains(cancel->geometry()));
    // The title makes the dialog wider than its template: the buttons keep the field's margin on the right, not
    // a strip five times as wide, and the field widens as far as they moved from their place in the template.
    QVERIFY(ok->x() > 193);
    QCOMPARE(dialog.width() - ok->geometry().right() - 1, dialog.m_editID->x());
    QCOMPARE(dialog.m_editID->width() - std::max(105, dialog.m_editID->sizeHint().width()), ok->x() - 193);
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(dialog.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/goto.png")));
}

QTEST_MAIN(GoToDlgTest)
#include "goto_dlg_test.moc"
