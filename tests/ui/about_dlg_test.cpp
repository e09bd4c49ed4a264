// The About box: its texts, the four links as they look and where a click on
// each leads through the desktop's URL handlers, and a desktop that refuses.

#include "shell/about_dlg.h"
#include "ui_support.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace stirpex;

namespace {

// Stands in for the browser and the mail program.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

bool hasPureBlue(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == QColor(0, 0, 255)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class AboutDlgTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void showsTheProgramAndItsRecord();
    void linksAreBlueUnderlinedUnderAHand();
    void eachLinkOpensItsTarget();
    void linksAreFollowedFromTheKeyboard();
    void refusedLinkIsReportedAndTheBoxStays();

private:
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, widget->height() / 2)); }

    UrlRecorder m_recorder;
    test::RecordedMessages m_messages;
    std::unique_ptr<CAboutDlg> m_dialog;
};

void AboutDlgTest::initTestCase() {
    Q_INIT_RESOURCE(stirpex);
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_recorder, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &m_recorder, "open");
}

void AboutDlgTest::cleanupTestCase() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
}

void AboutDlgTest::init() {
    m_recorder.opened.clear();
    m_messages.shown.clear();
    m_dialog = std::make_unique<CAboutDlg>(&m_messages);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void AboutDlgTest::cleanup() {
    m_dialog.reset();
}

void AboutDlgTest::showsTheProgramAndItsRecord() {
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("About Stirpex"));
    const auto* version = m_dialog->findChild<QLabel*>(QStringLiteral("version"));
    QVERIFY(version != nullptr);
    QCOMPARE(version->text(), QStringLiteral("Stirpex version 1.09, 27 Aug 2020"));
    const auto* icon = m_dialog->findChild<QLabel*>(QStringLiteral("icon"));
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->pixmap().size(), QSize(32, 32));
    // No text may be cut by the box's size.
    for (const QLabel* label : m_dialog->findChildren<QLabel*>()) {
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(m_dialog->grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/about_dlg.png")));

    // OK ends the box.
    QTest::mouseClick(m_dialog->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
    QCOMPARE(m_dialog->result(), int{QDialog::Accepted});
    QVERIFY(!m_dialog->isVisible());

    // The settings store is named after these.
    SetApplicationRecord();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Stirpex"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0.9.0"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Tessel Forge"));
}

void AboutDlgTest::linksAreBlueUnderlinedUnderAHand() {
    for (QLabel* link : QList<QLabel*>{m_dialog->m_linkCompany, m_dialog->m_linkHosting, m_dialog->m_linkHomePage,
                                       m_dialog->m_linkMail}) {
        QVERIFY2(link->font().underline(), qPrintable(link->text()));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY2(hasPureBlue(link->grab().toImage()), qPrintable(link->text()));
    }
    // The plain texts are not drawn as links.
    QVERIFY(!hasPureBlue(m_dialog->findChild<QLabel*>(QStringLiteral("version"))->grab().toImage()));
}

void AboutDlgTest::eachLinkOpensItsTarget() {
    // The version line, the notices and the icon open nothing; nor does a press released beside a link.
    for (QLabel* label : m_dialog->findChildren<QLabel*>()) {
        if (qobject_cast<CStaticLink*>(label) == nullptr) {
            click(label);
        }
    }
    QTest::mousePress(m_dialog->m_linkMail, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(m_dialog->m_linkMail, Qt::LeftButton, {}, QPoint(-20, 3));
    QCOMPARE(m_recorder.opened, QList<QUrl>());

    click(m_dialog->m_linkMail);
    click(m_dialog->m_linkCompany);
    click(m_dialog->m_linkHosting);
    click(m_dialog->m_linkHomePage);
    // The company's name leads to its home page, the address to a new mail, the others to what they show.
    QCOMPARE(m_dialog->m_linkCompany->text(), QStringLiteral("Tessel Forge Consultants"));
    QCOMPARE(m_recorder.opened, (QList<QUrl>{QUrl(QStringLiteral("mailto:stirpex@tesselforge.example")),
                                             QUrl(QStringLiteral("https://tesselforge.example/")),
                                             QUrl(QStringLiteral("https://opencrate.example/projects/stirpex")),
                                             QUrl(QStringLiteral("https://tesselforge.example/stirpex"))}));
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(m_dialog->isVisible());
}

// Tab goes round the links as round the buttons; Enter on one follows it instead of pressing OK.
void AboutDlgTest::linksAreFollowedFromTheKeyboard() {
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    QSet<QWidget*> reached;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    for (QWidget* link : QList<QWidget*>{m_dialog->m_linkCompany, m_dialog->m_linkHosting, m_dialog->m_linkHomePage,
                                         m_dialog->m_linkMail}) {
        QVERIFY2(reached.contains(link), qPrintable(link->objectName()));
    }
    m_dialog->m_linkHosting->setFocus();
    QTest::keyClick(m_dialog->m_linkHosting, Qt::Key_Return);
    QTest::keyClick(m_dialog->m_linkHosting, Qt::Key_Space);
    QCOMPARE(m_recorder.opened, (QList<QUrl>{QUrl(QStringLiteral("https://opencrate.example/projects/stirpex")),
                                             QUrl(QStringLiteral("https://opencrate.example/projects/stirpex"))}));
    QVERIFY(m_dialog->isVisible());
}

void AboutDlgTest::refusedLinkIsReportedAndTheBoxStays() {
    QList<QUrl> asked;
    m_dialog->SetOpener([&asked](const QUrl& url) {
        asked.append(url);
        return false;
    });
    click(m_dialog->m_linkMail);
    click(m_dialog->m_linkCompany);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(m_messages.shown,
             (QStringList{QStringLiteral("Unable to execute link\nmailto:stirpex@tesselforge.example"),
                          QStringLiteral("Unable to execute link\nhttps://tesselforge.example/")}));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_recorder.opened, QList<QUrl>());
}

QTEST_MAIN(AboutDlgTest)
#include "about_dlg_test.moc"
