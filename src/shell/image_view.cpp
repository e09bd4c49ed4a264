#include "shell/image_view.h"

#include "shell/accessible_texts_qt.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace stirpex {

namespace {

// A new window shows the image whole where the screen has room, else as much of the screen as this.
constexpr double kScreenShare = 0.8;

} // namespace

ImageView::ImageView(const QImage& image, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window), m_pixmap(QPixmap::fromImage(image)) {
    setObjectName(QStringLiteral("imageWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);

    auto* tools = new QToolBar(this);
    m_actualSizeAction = tools->addAction(QStringLiteral("Actual size"));
    m_actualSizeAction->setObjectName(QStringLiteral("actualSize"));
    m_actualSizeAction->setCheckable(true);
    m_actualSizeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    m_actualSizeAction->setToolTip(QStringLiteral("Show the image at its actual size instead of fitting the window"));
    connect(m_actualSizeAction, &QAction::toggled, this, &ImageView::SetActualSize);

    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    m_label = new QLabel;
    m_label->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("imageArea"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidget(m_label);
    m_scroll->viewport()->installEventFilter(this);

    SetAccessibleTexts({
        {m_scroll, QStringLiteral("Image"),
         QStringLiteral("Fitted to the window; Ctrl+0 shows it at its actual size, Escape closes the window")},
        {m_label, title, {}},
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(m_scroll, 1);

    QSize size = m_pixmap.deviceIndependentSize().toSize() + QSize(0, tools->sizeHint().height());
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableSize() * kScreenShare;
        size = size.boundedTo(room);
    }
    resize(size.expandedTo(QSize(200, 150)));
    SetActualSize(false);
}

ImageView::~ImageView() = default;

void ImageView::SetActualSize(bool actual) {
    m_actualSize = actual;
    if (m_actualSizeAction->isChecked() != actual) {
        m_actualSizeAction->setChecked(actual); // comes back here once, with nothing left to change
    }
    // Fitting leaves nothing to scroll; scroll bars would only take room from the image.
    const Qt::ScrollBarPolicy policy = actual ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    m_scroll->setHorizontalScrollBarPolicy(policy);
    m_scroll->setVerticalScrollBarPolicy(policy);
    m_scroll->setWidgetResizable(!actual);
    rescale();
}

QSize ImageView::ShownSize() const {
    return m_label->pixmap().deviceIndependentSize().toSize();
}

QSize ImageView::ImageArea() const {
    return m_scroll->viewport()->size();
}

void ImageView::rescale() {
    if (m_actualSize) {
        m_label->setPixmap(m_pixmap);
        m_label->adjustSize();
        return;
    }
    const QSize natural = m_pixmap.deviceIndependentSize().toSize();
    const QSize area = ImageArea();
    if (natural.width() <= area.width() && natural.height() <= area.height()) {
        m_label->setPixmap(m_pixmap);
        return;
    }
    const QSize fitted = natural.scaled(area, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QPixmap scaled =
        m_pixmap.scaled(fitted * m_pixmap.devicePixelRatio(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(m_pixmap.devicePixelRatio());
    m_label->setPixmap(scaled);
}

bool ImageView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && !m_actualSize) {
        rescale();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace stirpex
