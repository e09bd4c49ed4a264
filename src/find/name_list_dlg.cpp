#include "find/name_list_dlg.h"

#include "find/name_index.h"
#include "find/name_list_model_qt.h"
#include "find/type_ahead.h"
#include "model/shown_text.h"
#include "model/stirpex_doc.h"
#include "model/text_direction.h"
#include "page/stirpex_view.h"
#include "shell/accessible_texts_qt.h"
#include "shell/announce_qt.h"
#include "shell/dialog_layout_qt.h"
#include "shell/open_gedcom_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace stirpex {
namespace {

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isCopy(const QEvent* event) {
    return event->type() == QEvent::KeyPress && static_cast<const QKeyEvent*>(event)->matches(QKeySequence::Copy);
}

} // namespace

CNameListDlg::CNameListDlg(NameIndex& index) : QDialog(nullptr), m_index(index) {
    setWindowTitle(QStringLiteral("Name List"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // A window left open beside the pages must not keep the program running
    // once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_model = new NameListModel(m_index, this);

    m_cbNames = new QWidget(this);
    m_cbNames->setObjectName(QStringLiteral("names"));
    m_editName = new QLineEdit(m_cbNames);
    m_editName->setObjectName(QStringLiteral("nameEdit"));
    m_lbNames = new QListView(m_cbNames);
    m_lbNames->setObjectName(QStringLiteral("nameList"));
    // One row measured stands for all: a list of millions lays out at once.
    m_lbNames->setUniformItemSizes(true);
    m_lbNames->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lbNames->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lbNames->setModel(m_model);
    m_noMatch = new QLabel(m_cbNames);
    m_noMatch->setObjectName(QStringLiteral("noMatch"));
    QPalette palette = m_noMatch->palette();
    palette.setColor(QPalette::WindowText, QColor(0xa0, 0x10, 0x10));
    m_noMatch->setPalette(palette);
    auto* layout = new QVBoxLayout(m_cbNames);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_editName);
    layout->addWidget(m_noMatch);
    layout->addWidget(m_lbNames, 1);
    // Kept in the layout while empty, so that the list does not jump as the message comes and goes.
    m_noMatch->setMinimumHeight(m_noMatch->fontMetrics().height());

    m_btnMarriedNames = new QCheckBox(QStringLiteral("Index women's married names"), this);
    m_btnMarriedNames->setObjectName(QStringLiteral("marriedNames"));
    SetAccessibleTexts({
        {m_editName, QStringLiteral("Name"),
         QStringLiteral("The beginning of a name, surname first; Enter shows the page of the first that begins so")},
        {m_lbNames, QStringLiteral("Names"),
         QStringLiteral("Every name of the file in order; Enter or a double click shows the person's page")},
    });

    connect(m_lbNames, &QAbstractItemView::doubleClicked, this, &CNameListDlg::OnDblclkNames);
    connect(m_lbNames->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CNameListDlg::OnSelchangeNames);
    // A click on the entry already chosen brings it back into a field typed over since.
    connect(m_lbNames, &QAbstractItemView::clicked, this, &CNameListDlg::OnSelchangeNames);
    connect(m_btnMarriedNames, &QCheckBox::clicked, this, &CNameListDlg::OnMarriedNames);
    // Keys only: the field filled from the list must not search again.
    connect(m_editName, &QLineEdit::textEdited, this, &CNameListDlg::OnEditName);
    for (QWidget* control : {static_cast<QWidget*>(m_editName), static_cast<QWidget*>(m_lbNames),
                             static_cast<QWidget*>(m_btnMarriedNames)}) {
        control->installEventFilter(this);
    }
    placeControls();
    OnInitDialog();
}

CNameListDlg::~CNameListDlg() = default;

void CNameListDlg::placeControls() {
    m_cbNames->setGeometry(0, 0, DialogUnitsX(185), DialogUnitsY(177));
    // The check box is never smaller than its label needs in the font it is given.
    const QSize hint = m_btnMarriedNames->sizeHint();
    m_btnMarriedNames->setGeometry(DialogUnitsX(38), DialogUnitsY(179), std::max(DialogUnitsX(109), hint.width()),
                                   std::max(DialogUnitsY(8), hint.height()));
    resize(std::max(DialogUnitsX(186), m_btnMarriedNames->geometry().right() + 1),
           std::max(DialogUnitsY(190), m_btnMarriedNames->geometry().bottom() + 1));
}

void CNameListDlg::OnInitDialog() {
    m_rectClient = rect();
    m_rectCombo = m_cbNames->geometry();
    m_rectCheck = m_btnMarriedNames->geometry();
    m_btnMarriedNames->setChecked(m_index.m_bMarriedNames);
}

bool CNameListDlg::MarriedNames() const noexcept {
    return m_index.m_bMarriedNames;
}

void CNameListDlg::OnFind(CStirpexView& view, ProgressSink* progress) {
    if (m_pView != &view) {
        // Only the page served now takes the window out of sight when it goes.
        if (m_pView) {
            disconnect(m_pView, &QObject::destroyed, this, &CNameListDlg::pageGone);
        }
        m_pView = &view;
        connect(&view, &QObject::destroyed, this, &CNameListDlg::pageGone);
    }
    m_pDoc = &view.GetDocument();
    m_progress = progress;
    if (m_index.empty()) {
        BuildIndex();
    }
    SelectCurrentPerson();
    if (!m_bPlaced) {
        m_bPlaced = true;
        if (const QScreen* screen = view.screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    showNormal();
    raise();
    activateWindow();
    // A list that was hidden has not been laid out: the selection comes into view once it is.
    const QModelIndex current = m_lbNames->currentIndex();
    if (current.isValid()) {
        m_lbNames->scrollTo(current);
    }
}

void CNameListDlg::BuildIndex() {
    if (m_pDoc == nullptr) {
        return;
    }
    const WaitCursor wait;
    m_model->Rebuild([this] { m_index.BuildIndex(*m_pDoc, m_progress); });
}

void CNameListDlg::SelectCurrentPerson() {
    const CPerson* current = m_pView ? m_pView->Page().m_pPerson : nullptr;
    if (current == nullptr) {
        return;
    }
    const int position = m_index.SelectCurrentPerson(current);
    if (position >= 0) {
        select(position);
    }
    m_editName->setFocus();
    // Typing then replaces the name instead of adding to it.
    m_editName->selectAll();
}

int CNameListDlg::Selected() const {
    const QModelIndexList selected = m_lbNames->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void CNameListDlg::select(int position, bool fill) {
    const QModelIndex row = m_model->index(position);
    m_typing = !fill;
    m_lbNames->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    m_typing = false;
    // While typing, the entries that begin alike follow the one selected.
    m_lbNames->scrollTo(row, fill ? QAbstractItemView::EnsureVisible : QAbstractItemView::PositionAtTop);
    AnnounceCurrentItem(*m_lbNames);
    if (fill) {
        showInField(position);
    }
    m_noMatch->clear();
}

void CNameListDlg::OnSelchangeNames() {
    const QModelIndex current = m_lbNames->currentIndex();
    if (current.isValid() && !m_typing) {
        showInField(current.row());
    }
}

void CNameListDlg::OnEditName(const QString& text) {
    if (text.isEmpty()) {
        m_noMatch->clear();
        return;
    }
    const int position = typedPosition(text);
    if (position < 0) {
        m_noMatch->setText(QStringLiteral("No name begins with \"%1\".").arg(text));
        return;
    }
    select(position, false);
}

int CNameListDlg::typedPosition(const QString& text) const {
    // The field may hold an entry as the list shows it, isolates and all: the index holds it without them.
    const std::string typed = WithoutIsolates(text.toStdString());
    return FindTyped(m_index.entries(), m_index.collator(), typed);
}

void CNameListDlg::showInField(int position) {
    // As in a combo box, the field shows the entry chosen in the list, so
    // that Enter goes to it: of an entry too long to show, the part shown,
    // which Enter finds as the beginning of the entry.
    const std::string shown =
        IsolateRightToLeft(ShownPrefix(m_index.entries()[static_cast<std::size_t>(position)].text));
    m_editName->setText(QString::fromStdString(shown));
}

void CNameListDlg::copySelected() const {
    const QModelIndex current = m_lbNames->currentIndex();
    if (current.isValid()) {
        QGuiApplication::clipboard()->setText(current.data(NameListModel::WholeTextRole).toString());
    }
}

void CNameListDlg::OnDblclkNames() {
    const std::int32_t person = m_index.personAt(Selected());
    if (person < 0 || m_pView.isNull() || m_pDoc == nullptr) {
        return;
    }
    m_pView->ShowPerson(m_pDoc->m_ppPersons[static_cast<std::size_t>(person)].get());
    accept();
}

void CNameListDlg::OnReturn() {
    const int position = typedPosition(m_editName->text());
    if (position < 0) {
        return;
    }
    select(position);
    OnDblclkNames();
}

void CNameListDlg::OnMarriedNames() {
    m_index.m_bMarriedNames = m_btnMarriedNames->isChecked();
    BuildIndex();
    SelectCurrentPerson();
}

void CNameListDlg::pageGone() {
    // The window serves the page that last used Find; without it a choice would go nowhere.
    hide();
}

bool CNameListDlg::eventFilter(QObject* watched, QEvent* event) {
    // Enter searches whichever control has the focus, before the control sees it.
    if (isEnter(event)) {
        OnReturn();
        return true;
    }
    // The list would copy the entry as shown; the whole of it is copied instead.
    if (watched == m_lbNames && isCopy(event)) {
        copySelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CNameListDlg::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event)) {
        OnReturn();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CNameListDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_rectClient.isEmpty()) {
        return;
    }
    const QRect combo = FollowAllEdges(rect(), m_rectClient, m_rectCombo);
    m_cbNames->setGeometry(combo.left(), combo.top(), std::max(0, combo.width()), std::max(0, combo.height()));
    m_btnMarriedNames->move(FollowBottomEdge(rect(), m_rectClient, m_rectCheck));
}

void ShowNameList(CStirpexView& view, ProgressSink* progress) {
    view.Document().NameList().OnFind(view, progress);
}

} // namespace stirpex
