// Media on the page: a click on a media link opens an image in its own
// window, fitted to it, anything else with the desktop (recorded here,
// never launched), and a message names a file that is nowhere to be found.
// The same from inside an archive.

#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/image_view.h"
#include "shell/media_opener_app.h"
#include "page_windows.h"
#include "support/zip_writer.h"
#include "ui_support.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace stirpex;

namespace {

// Four quarters, red, green, blue and black, so that a grab shows which way up and how much of it is drawn.
QImage quarters(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::green);
    painter.fillRect(0, height / 2, width / 2, height - height / 2, Qt::blue);
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::black);
    return image;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::string gedcom(std::string_view photo, std::string_view deed) {
    return "0 HEAD\n0 @I1@ INDI\n1 NAME Ann /Lee/\n1 OBJE @M1@\n1 OBJE @M2@\n1 OBJE @M3@\n"
           "0 @M1@ OBJE\n1 FILE " +
           std::string(photo) + "\n0 @M2@ OBJE\n1 FILE " + std::string(deed) +
           "\n0 @M3@ OBJE\n1 FILE C:\\Photos\\gone.jpg\n0 TRLR\n";
}

constexpr std::string_view kDeed = "%PDF-1.4 a deed";

} // namespace

class MediaWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void imageIsFittedToTheWindowAndNeverBlownUp();
    void actualSizeScrollsAndEscapeCloses();
    void imageLinkOpensTheImageWindow();
    void otherMediaGoToTheDesktop();
    void desktopRefusalIsReported();
    void missingFileNamesThePlacesLookedAt();
    void archiveMediaOpenFromTheArchive();

private:
    bool open(const QString& path);
    void clickMedia(const char* key);
    QString write(const QString& name, const QByteArray& bytes) const;

    PageDialogs m_dialogs;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<test::PageWindows> m_windows;
    std::unique_ptr<MediaOpener> m_opener;
    QPointer<ImageView> m_image;
    QList<QUrl> m_opened;
    bool m_desktopAnswer = true;
};

void MediaWindowTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_opened.clear();
    m_desktopAnswer = true;
    m_dialogs.media = [this](CStirpexView& view, const CExtObj& object) { m_image = m_opener->Open(view, object); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    m_opener = std::make_unique<MediaOpener>(m_windows->messages);
    m_opener->SetUrlOpener([this](const QUrl& url) {
        m_opened.append(url);
        return m_desktopAnswer;
    });
}

void MediaWindowTest::cleanup() {
    m_windows.reset();
    m_opener.reset();
    m_folder.reset();
}

QString MediaWindowTest::write(const QString& name, const QByteArray& bytes) const {
    const QString path = m_folder->filePath(name);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

bool MediaWindowTest::open(const QString& path) {
    if (!m_windows->Open(path)) {
        return false;
    }
    m_windows->Frame().resize(700, 500);
    return true;
}

void MediaWindowTest::clickMedia(const char* key) {
    CStirpexView& view = m_windows->View();
    const CExtObj* object = view.GetDocument().FindExtObj(key);
    QVERIFY(object != nullptr);
    const PageLink* found = nullptr;
    for (const PageLink& link : view.Page().Links()) {
        if (link.nKind == LINK_MEDIA && link.nIndex == object->m_nIndex) {
            found = &link;
        }
    }
    QVERIFY(found != nullptr);
    const QPoint point = view.ClientRect(found->rect).topLeft() + QPoint(2, 2);
    QTest::mouseMove(view.viewport(), point + QPoint(1, 1));
    QTest::mouseMove(view.viewport(), point);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, point);
}

void MediaWindowTest::imageIsFittedToTheWindowAndNeverBlownUp() {
    ImageView window(quarters(400, 200), QStringLiteral("Quarters"));
    window.resize(300, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Quarters"));
    // Wide image, tall window: the width fills the room, the height follows at half of it.
    QTRY_COMPARE(window.ShownSize().width(), window.ImageArea().width());
    QVERIFY(qAbs(window.ShownSize().height() - window.ImageArea().width() / 2) <= 1);
    QVERIFY(window.ShownSize().height() <= window.ImageArea().height());
    QVERIFY(window.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/image_window_fitted.png")));

    window.resize(300, 120);
    QTRY_COMPARE(window.ShownSize().height(), window.ImageArea().height());
    QVERIFY(qAbs(window.ShownSize().width() - 2 * window.ImageArea().height()) <= 1);

    window.resize(900, 700);
    QTRY_VERIFY(window.ImageArea().width() > 400);
    QCOMPARE(window.ShownSize(), QSize(400, 200));
    // Drawn in the middle of the room, whole: red top left, black bottom right.
    const QImage shown = window.grab().toImage();
    const QPoint centre =
        window.findChild<QScrollArea*>()->mapTo(&window, window.findChild<QScrollArea*>()->rect().center());
    QCOMPARE(shown.pixelColor(centre + QPoint(-190, -90)), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(centre + QPoint(190, 90)), QColor(Qt::black));
    QVERIFY(shown.pixelColor(centre + QPoint(-210, -90)) != QColor(Qt::red));
}

void MediaWindowTest::actualSizeScrollsAndEscapeCloses() {
    QPointer<ImageView> window = new ImageView(quarters(400, 200), QStringLiteral("Quarters"));
    window->resize(250, 200);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto* actual = window->findChild<QAction*>(QStringLiteral("actualSize"));
    QVERIFY(actual != nullptr);
    QVERIFY(actual->isEnabled());
    QVERIFY(!window->IsActualSize());
    actual->trigger();
    QVERIFY(window->IsActualSize());
    QCOMPARE(window->ShownSize(), QSize(400, 200));
    QTRY_VERIFY(window->findChild<QScrollArea*>()->horizontalScrollBar()->maximum() > 0);
    actual->trigger();
    QTRY_VERIFY(window->ShownSize().width() <= window->ImageArea().width());

    window->activateWindow();
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(window.isNull()); // closed and deleted
}

void MediaWindowTest::imageLinkOpensTheImageWindow() {
    QVERIFY(!write(QStringLiteral("ann.png"), pngBytes(quarters(640, 480))).isEmpty());
    const QString ged = write(QStringLiteral("tree.ged"),
                              QByteArray::fromStdString(gedcom("C:\\Users\\Ann\\Pictures\\ann.png", "deed.pdf")));
    QVERIFY(open(ged));
    QVERIFY(m_windows->Frame().grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/media_rows_page.png")));
    clickMedia("M1");
    QTRY_VERIFY(!m_image.isNull());
    QCOMPARE(m_image->windowTitle(), QStringLiteral("ann.png"));
    QVERIFY(QTest::qWaitForWindowExposed(m_image));
    QVERIFY(m_image->isWindow());
    QTRY_VERIFY(m_image->ShownSize().width() <= m_image->ImageArea().width());
    QVERIFY(m_image->ShownSize().height() <= m_image->ImageArea().height());
    QVERIFY(m_image->ShownSize().width() > 0);
    QVERIFY(m_image->grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/image_window_from_page.png")));
    QVERIFY(m_opened.isEmpty());
    QVERIFY(m_windows->messages.shown.isEmpty());
    // The page stays on its person, with nothing left hot.
    QCOMPARE(QString::fromUtf8(m_windows->View().Page().m_pPerson->m_strID.view()), QStringLiteral("I1"));
    QVERIFY(m_windows->View().Page().m_rectHot.empty());
}

void MediaWindowTest::otherMediaGoToTheDesktop() {
    const QString deed = write(QStringLiteral("deed.pdf"), QByteArray(kDeed.data(), kDeed.size()));
    // A file that says it is an image but is not one goes to the desktop as well.
    const QString broken = write(QStringLiteral("broken.jpg"), QByteArray("not a picture"));
    QVERIFY(open(write(QStringLiteral("tree.ged"), QByteArray::fromStdString(gedcom("broken.jpg", "deed.pdf")))));
    clickMedia("M2");
    QTRY_COMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.front(), QUrl::fromLocalFile(deed));
    clickMedia("M1");
    QTRY_COMPARE(m_opened.size(), 2);
    QCOMPARE(m_opened.back(), QUrl::fromLocalFile(broken));
    QVERIFY(m_image.isNull());
    QVERIFY(m_windows->messages.shown.isEmpty());
}

void MediaWindowTest::desktopRefusalIsReported() {
    const QString deed = write(QStringLiteral("deed.pdf"), QByteArray(kDeed.data(), kDeed.size()));
    QVERIFY(open(write(QStringLiteral("tree.ged"), QByteArray::fromStdString(gedcom("ann.png", "deed.pdf")))));
    m_desktopAnswer = false;
    clickMedia("M2");
    QTRY_COMPARE(m_windows->messages.shown.size(), 1);
    QCOMPARE(m_windows->messages.shown.front(),
             QStringLiteral("Cannot open ") + deed + QStringLiteral(": no program on this system opens it."));
    m_windows->messages.shown.clear();
}

void MediaWindowTest::missingFileNamesThePlacesLookedAt() {
    QVERIFY(open(write(QStringLiteral("tree.ged"), QByteArray::fromStdString(gedcom("ann.png", "deed.pdf")))));
    clickMedia("M3");
    QTRY_COMPARE(m_windows->messages.shown.size(), 1);
    const QString folder = QDir(m_folder->path()).canonicalPath();
    QCOMPARE(
        m_windows->messages.shown.front(),
        QStringLiteral("Cannot find the media file C:\\Photos\\gone.jpg.\nLooked for it, also ignoring case, at:\n") +
            folder + QStringLiteral("/Photos/gone.jpg\n") + folder + QStringLiteral("/gone.jpg"));
    QVERIFY(m_image.isNull());
    QVERIFY(m_opened.isEmpty());
    m_windows->messages.shown.clear();
}

void MediaWindowTest::archiveMediaOpenFromTheArchive() {
    const QByteArray png = pngBytes(quarters(300, 300));
    const std::string archive = test::ZipBytes({
        {"gedcom.ged", gedcom("media/ann.png", "C:\\Deeds\\deed.pdf")},
        {"media/ann.png", png.toStdString()},
        {"papers/deed.pdf", std::string(kDeed)},
    });
    QVERIFY(open(write(QStringLiteral("family.gdz"), QByteArray::fromStdString(archive))));
    QVERIFY(m_windows->View().GetDocument().m_media != nullptr);

    clickMedia("M1");
    QTRY_VERIFY(!m_image.isNull());
    QCOMPARE(m_image->windowTitle(), QStringLiteral("ann.png"));
    QVERIFY(m_opened.isEmpty());

    clickMedia("M2");
    QTRY_COMPARE(m_opened.size(), 1);
    const QString written = m_opened.front().toLocalFile();
    QCOMPARE(QFileInfo(written).fileName(), QStringLiteral("deed.pdf"));
    QVERIFY(!written.startsWith(QDir(m_folder->path()).canonicalPath()));
    QFile file(written);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(kDeed.data(), kDeed.size()));
    const QString temporary = QFileInfo(QFileInfo(written).path()).path();
    QVERIFY(QFileInfo(temporary).fileName().startsWith(QStringLiteral("stirpex-media-")));
    file.close();
    QVERIFY(m_windows->messages.shown.isEmpty());

    // The temporary copy goes with the opener, at the application's end.
    m_windows.reset();
    m_opener.reset();
    QVERIFY(!QFileInfo::exists(written));
    QVERIFY(!QFileInfo::exists(temporary));
}

QTEST_MAIN(MediaWindowTest)
#include "media_window_test.moc"
