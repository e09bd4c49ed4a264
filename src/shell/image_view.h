#pragma once

// A window of its own showing one image: scaled down to fit the window,
// keeping its proportions, and never blown up past its own size, or, on the
// user's word, at its actual size with scroll bars. Escape closes it; it is
// deleted when closed.

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QAction;
class QLabel;
class QScrollArea;

namespace stirpex {

class ImageView : public QWidget {
    Q_OBJECT

public:
    ImageView(const QImage& image, const QString& title, QWidget* parent = nullptr);
    ~ImageView() override;

    bool IsActualSize() const noexcept { return m_actualSize; }
    void SetActualSize(bool actual);
    // The size the image is drawn at now, in device-independent pixels.
    QSize ShownSize() const;
    // The room the image has: the window less its tool bar.
    QSize ImageArea() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rescale();

    QPixmap m_pixmap;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_label = nullptr;
    QAction* m_actualSizeAction = nullptr;
    bool m_actualSize = false;
};

} // namespace stirpex
