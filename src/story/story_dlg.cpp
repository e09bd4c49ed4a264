#include "story/story_dlg.h"

#include "model/text_direction.h"
#include "page/page_pointer.h"
#include "page/stirpex_view.h"
#include "shell/accessible_texts_qt.h"
#include "story/story_text.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace stirpex {
namespace {

// The window's size in dialog units of an 8-point dialog font, whose
// character cell is 6 by 13 pixels: 4 units across a character, 8 down.
constexpr int kWidth = 282 * 6 / 4;
constexpr int kHeight = 222 * 13 / 8;

QString fromModel(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A window title treats "[*]" as the place of the modified mark; a name may hold it literally.
QString literalTitle(QString title) {
    return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// The notes are shown with invisible marks around right-to-left names; text
// copied or dragged out goes without them. Both take their data from here,
// and a drag never passes the clipboard, where the rest of the program's
// copies are cleaned.
class IsolateFreeTextEdit final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override {
        const std::string selected = textCursor().selection().toPlainText().toStdString();
        auto* data = new QMimeData;
        data->setText(QString::fromStdString(WithoutIsolates(selected)));
        return data;
    }
};

} // namespace

CStoryDlg::CStoryDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Notes"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(false);

    m_editText = new IsolateFreeTextEdit(this);
    m_editText->setObjectName(QStringLiteral("text"));
    m_editText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editText->installEventFilter(this);

    // No margins: the box covers the whole client area at every size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_editText);
    resize(kWidth, kHeight);

    // The window's title says whose notes or sources they are.
    SetAccessibleTexts({
        {m_editText, QStringLiteral("Notes and sources"),
         QStringLiteral("The list the window's title names, to read and copy; Enter or Escape closes the window")},
    });
}

CStoryDlg::~CStoryDlg() = default;

int CStoryDlg::ShowStory(CStirpexView& view, const CStirpexDoc& doc, int kind, int topic, const CFamily* family) {
    m_pView = &view;
    m_pDoc = &doc;
    m_pPerson = view.Page().m_pPerson;
    m_nKind = kind;
    m_nTopic = topic;
    m_pFamily = family;
    OnInitDialog();
    return exec();
}

void CStoryDlg::OnInitDialog() {
    if (m_pDoc == nullptr || m_pPerson == nullptr) {
        return;
    }
    const StoryText story = AssembleStory(*m_pDoc, *m_pPerson, m_nKind, m_nTopic, m_pFamily, m_nFact);
    // The box takes "\r\n" as one line break.
    m_editText->setPlainText(fromModel(IsolateRightToLeft(story.text)));
    // Open at the top with nothing selected, so that a key typed first does not replace the text.
    QTextCursor start = m_editText->textCursor();
    start.movePosition(QTextCursor::Start);
    m_editText->setTextCursor(start);
    setWindowTitle(literalTitle(fromModel(IsolateRightToLeft(story.caption))));
    m_editText->setFocus();
}

// Enter ends the window as Escape does: the box is for reading, not for new lines.
bool CStoryDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editText && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ShowStory(CStirpexView& view, const StoryRequest& request) {
    CStoryDlg dialog(view.window());
    dialog.m_nFact = request.fact;
    dialog.ShowStory(view, view.GetDocument(), request.nKind, request.nTopic, request.family);
}

} // namespace stirpex
