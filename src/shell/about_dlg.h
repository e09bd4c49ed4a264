#pragma once

// The About box: the program's icon, name, version and date, the maker's
// notices and four links (the maker's company, two pages where the program
// can be had, an e-mail address), drawn blue and underlined under a pointing
// hand. A click hands the link's target to the desktop; when the desktop
// cannot open it the user is told so and the box stays open.

#include <QDialog>
#include <QLabel>
#include <QUrl>

#include <functional>

namespace stirpex {

class MessageSink;

// A static text that reports clicks; everything a link looks like is the
// About box's doing. Tab reaches it as it does a button, and Enter or Space
// then clicks it, so that it can be followed without a mouse.
class CStaticLink : public QLabel {
    Q_OBJECT

public:
    CStaticLink(const QString& text, QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressed = false;
};

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    using Opener = std::function<bool(const QUrl&)>;

    // `messages` receives the "Unable to execute link" text; null shows it in a warning box.
    explicit CAboutDlg(MessageSink* messages = nullptr, QWidget* parent = nullptr);
    ~CAboutDlg() override;

    // How targets reach the desktop; QDesktopServices::openUrl unless a test says otherwise.
    void SetOpener(Opener opener) { m_opener = std::move(opener); }
    void OpenLink(const QString& target);

    CStaticLink* m_linkCompany = nullptr;  // 1022: the company's home page, not its own text
    CStaticLink* m_linkHosting = nullptr;  // 1013: the program's page on a free hosting site
    CStaticLink* m_linkHomePage = nullptr; // 1014: the program's page on the company's site
    CStaticLink* m_linkMail = nullptr;     // 1015: the maker's e-mail address

private:
    CStaticLink* makeLink(const QString& text, const char* name);
    void OnClickMail();
    void OnClickCompany();
    void OnClickHomePage();
    void OnClickHosting();

    MessageSink* m_messages;
    Opener m_opener;
};

// The program's name, version and maker as the platform records them; the
// settings store is named after the maker and the program. Call at start-up.
void SetApplicationRecord();

// The About command.
void ShowAbout(QWidget* parent, MessageSink* messages);

} // namespace stirpex
