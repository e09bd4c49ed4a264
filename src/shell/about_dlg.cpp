#include "shell/about_dlg.h"

#include "gedcom/load_sinks.h"
#include "shell/accessible_texts_qt.h"
#include "stirpex_version.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

namespace stirpex {
namespace {

// The box's size in dialog units of an 8-point dialog font, whose character
// cell is 6 by 13 pixels: 4 units across a character, 8 down.
constexpr int kWidth = 265 * 6 / 4;
constexpr int kHeight = 148 * 13 / 8;

QLabel* plainText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

CStaticLink::CStaticLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFocusPolicy(Qt::TabFocus);
}

void CStaticLink::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

// A click is a press and a release on the link, as with a button.
void CStaticLink::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

// Before the dialog sees Enter, which would press its default button instead.
void CStaticLink::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space || key == Qt::Key_Select)) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

// The frame a focused button has, so that the eye follows Tab as a screen reader does.
void CStaticLink::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

CAboutDlg::CAboutDlg(MessageSink* messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_opener([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setWindowTitle(QStringLiteral("About Stirpex"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    // The 32-pixel drawing on a screen of one pixel to the point, the large one made smaller on a finer screen.
    QIcon program(QStringLiteral(":/app/stirpex-32.png"));
    program.addFile(QStringLiteral(":/app/stirpex.png"));
    icon->setPixmap(program.pixmap(QSize(32, 32), devicePixelRatioF()));
    icon->setFixedSize(32, 32);
    auto* version =
        plainText(QString::fromUtf8(kVersionLine.data(), static_cast<qsizetype>(kVersionLine.size())), this);
    version->setObjectName(QStringLiteral("version"));
    m_linkCompany = makeLink(QStringLiteral("Tessel Forge Consultants"), "link1022");
    m_linkMail = makeLink(QStringLiteral("stirpex@tesselforge.example"), "link1015");
    m_linkHosting = makeLink(QStringLiteral("https://opencrate.example/projects/stirpex"), "link1013");
    m_linkHomePage = makeLink(QStringLiteral("https://tesselforge.example/stirpex"), "link1014");
    connect(m_linkMail, &CStaticLink::clicked, this, &CAboutDlg::OnClickMail);
    connect(m_linkCompany, &CStaticLink::clicked, this, &CAboutDlg::OnClickCompany);
    connect(m_linkHomePage, &CStaticLink::clicked, this, &CAboutDlg::OnClickHomePage);
    connect(m_linkHosting, &CStaticLink::clicked, this, &CAboutDlg::OnClickHosting);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Beside the icon: the version, then each notice followed by its link.
    auto* notices = new QGridLayout;
    notices->setHorizontalSpacing(4);
    notices->addWidget(version, 0, 0, 1, 3);
    notices->addWidget(plainText(QStringLiteral("Copyright \u00a9 2001-2020 Corin Tessel,"), this), 1, 0);
    notices->addWidget(m_linkCompany, 1, 1);
    notices->addWidget(plainText(QStringLiteral("All rights reserved. E-mail:"), this), 2, 0);
    notices->addWidget(m_linkMail, 2, 1);
    notices->setColumnStretch(2, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(10);
    top->addLayout(notices, 1);
    top->addWidget(ok, 0, Qt::AlignTop);

    auto* sites = new QVBoxLayout;
    sites->setContentsMargins(4, 0, 0, 0);
    sites->setSpacing(2);
    sites->addWidget(m_linkHosting, 0, Qt::AlignLeft);
    sites->addWidget(m_linkHomePage, 0, Qt::AlignLeft);

    auto* heading = plainText(QStringLiteral("Permission to copy"), this);
    heading->setAlignment(Qt::AlignHCenter);
    auto* conditions = new QVBoxLayout;
    conditions->setContentsMargins(14, 0, 0, 0);
    conditions->setSpacing(0);
    for (const QString& condition : {QStringLiteral("1. it is passed on whole and unchanged, with these notices;"),
                                     QStringLiteral("2. nothing is charged for it or for passing it on;"),
                                     QStringLiteral("3. it is not sold as part of another product.")}) {
        conditions->addWidget(plainText(condition, this));
    }

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addSpacing(4);
    layout->addWidget(
        plainText(QStringLiteral("The latest version of Stirpex is available free at the following web sites:"), this));
    layout->addLayout(sites);
    layout->addSpacing(8);
    layout->addWidget(heading);
    layout->addSpacing(4);
    auto* permission =
        plainText(QStringLiteral("You may copy this program and give it away free of charge, provided that:"), this);
    permission->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(permission);
    layout->addLayout(conditions);
    layout->addStretch(1);

    setFixedSize(QSize(kWidth, kHeight).expandedTo(sizeHint()));
    ok->setFocus();

    // The links are named by their texts; the company's leads elsewhere than its text says.
    SetAccessibleTexts({
        {icon, QStringLiteral("Stirpex"), {}},
        {m_linkCompany, {}, QStringLiteral("Link: opens the company's home page")},
        {m_linkMail, {}, QStringLiteral("Link: writes a mail to this address")},
        {m_linkHosting, {}, QStringLiteral("Link: opens this page")},
        {m_linkHomePage, {}, QStringLiteral("Link: opens this page")},
    });
}

CAboutDlg::~CAboutDlg() = default;

CStaticLink* CAboutDlg::makeLink(const QString& text, const char* name) {
    auto* link = new CStaticLink(text, this);
    link->setObjectName(QString::fromLatin1(name));
    link->setTextFormat(Qt::PlainText);
    // One colour, pure blue, whether or not the link has been followed.
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link->setPalette(palette);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    link->setCursor(Qt::PointingHandCursor);
    link->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return link;
}

void CAboutDlg::OpenLink(const QString& target) {
    if (m_opener(QUrl(target))) {
        return;
    }
    const QString text = QStringLiteral("Unable to execute link\n") + target;
    if (m_messages != nullptr) {
        m_messages->Show(text.toStdString());
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Stirpex"), text, QMessageBox::Ok, this);
    box.exec();
}

void CAboutDlg::OnClickMail() {
    OpenLink(QStringLiteral("mailto:") + m_linkMail->text());
}

// The company link shows the company's name but leads to its home page.
void CAboutDlg::OnClickCompany() {
    OpenLink(QStringLiteral("https://tesselforge.example/"));
}

void CAboutDlg::OnClickHomePage() {
    OpenLink(m_linkHomePage->text());
}

void CAboutDlg::OnClickHosting() {
    OpenLink(m_linkHosting->text());
}

void SetApplicationRecord() {
    QCoreApplication::setApplicationName(QStringLiteral("Stirpex"));
    QCoreApplication::setApplicationVersion(
        QString::fromUtf8(kApplicationVersion.data(), static_cast<qsizetype>(kApplicationVersion.size())));
    QCoreApplication::setOrganizationName(QStringLiteral("Tessel Forge"));
}

void ShowAbout(QWidget* parent, MessageSink* messages) {
    CAboutDlg dialog(messages, parent);
    dialog.exec();
}

} // namespace stirpex
