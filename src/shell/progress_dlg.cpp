#include "shell/progress_dlg.h"

#include "shell/accessible_texts_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <algorithm>

namespace stirpex {

namespace {

// The box of 186 by 52 dialog units and its two controls, in pixels of the
// 8-point dialog font.
constexpr QSize kWindowSize(280, 85);
constexpr QRect kTextRect(8, 8, 263, 33);
constexpr QRect kBarRect(8, 57, 263, 16);
// With a Cancel button the box grows by a row of 14 dialog units for it.
constexpr int kCancelRowHeight = 30;
constexpr QRect kCancelRect(197, 81, 75, 23);

// How long a new window may take to be mapped by the window system before
// the work goes on regardless.
constexpr qint64 kExposeWaitMs = 300;

// Only what makes the window appear: no input, no sockets, no timers, so that
// no other command can start inside the loop that shows the window.
constexpr QEventLoop::ProcessEventsFlags kExposeOnly =
    QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers;

class ProgressDlgWindow final : public ProgressWindow {
public:
    explicit ProgressDlgWindow(const QString& text) : m_dialog(std::make_unique<CProgressDlg>()) {
        m_dialog->SetText(text);
        m_dialog->ShowNow();
    }
    void SetPos(int percent) override { m_dialog->SetPos(percent); }
    CProgressDlg& dialog() const noexcept { return *m_dialog; }

private:
    std::unique_ptr<CProgressDlg> m_dialog;
};

} // namespace

CProgressDlg::CProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_text(new QLabel(this)),
      m_bar(new QProgressBar(this)) {
    setObjectName(QStringLiteral("progressDlg"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(kWindowSize);
    // A window that watches work must not keep the program alive once its main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    // Without a title bar the window keeps the raised edge of a dialog frame.
    m_edge = new QFrame(this);
    QFrame* edge = m_edge;
    edge->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    edge->setLineWidth(2);
    edge->setGeometry(rect());

    m_text->setObjectName(QStringLiteral("progressText"));
    m_text->setGeometry(kTextRect);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setWordWrap(true);

    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setGeometry(kBarRect);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
}

void CProgressDlg::SetText(const QString& text) {
    m_text->setText(text);
    // Without a title bar the window has no other name, and the bar measures what the line says.
    SetAccessibleTexts({{this, text, {}}, {m_bar, text, {}}});
}

void CProgressDlg::SetPos(int percent) {
    m_bar->setValue(std::clamp(percent, 0, 100));
    // The whole box, not only the bar: nothing else repaints it while the loop runs.
    repaint();
}

void CProgressDlg::ShowNow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
    raise();
    activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < kExposeWaitMs) {
        QCoreApplication::processEvents(kExposeOnly);
        if (!windowHandle()->isExposed()) {
            QThread::msleep(2);
        }
    }
    repaint();
}

void CProgressDlg::AllowCancel(std::function<void()> cancel) {
    m_cancel = std::move(cancel);
    if (m_cancelButton == nullptr) {
        m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
        m_cancelButton->setObjectName(QStringLiteral("progressCancel"));
        SetAccessibleTexts({{m_cancelButton, {}, QStringLiteral("Gives the work up; Escape does the same")}});
        m_cancelButton->setGeometry(kCancelRect);
        connect(m_cancelButton, &QPushButton::clicked, this, &CProgressDlg::reject);
        setFixedSize(kWindowSize.width(), kWindowSize.height() + kCancelRowHeight);
        m_edge->setGeometry(rect());
        m_cancelButton->show();
        repaint();
    }
}

void CProgressDlg::reject() {
    if (m_cancel) {
        m_cancelButton->setEnabled(false); // once is enough; the work ends within moments
        m_cancel();
    }
}

void CProgressDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}

std::unique_ptr<ProgressWindow> ProgressWindowSink::Create(std::string_view text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return nullptr; // no windows without a widget application; the work goes on
    }
    return std::make_unique<ProgressDlgWindow>(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void AllowCancel(ProgressWindow& window, std::function<void()> cancel) {
    if (auto* shown = dynamic_cast<ProgressDlgWindow*>(&window)) {
        shown->dialog().AllowCancel(std::move(cancel));
    }
}

} // namespace stirpex
