#include "shell/child_frame.h"

#include "page/stirpex_view.h"
#include "shell/open_gedcom_app.h"

#include <QCloseEvent>
#include <QIcon>

namespace stirpex {

CChildFrame::CChildFrame(OpenGedcom& document, const PageDialogs& dialogs, QWidget* parent)
    : QMdiSubWindow(parent), m_document(document), m_view(new CStirpexView(document, dialogs, this)) {
    setObjectName(QStringLiteral("documentWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_view);
    setWindowIcon(QIcon(QStringLiteral(":/app/document.png")));
    setWindowTitle(document.Title());
    connect(m_view, &CStirpexView::captionChanged, this, &QMdiSubWindow::setWindowTitle);
    resize(500, 400);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    emit closing(this);
    QMdiSubWindow::closeEvent(event);
}

} // namespace stirpex
