#include "find/search_dlg.h"

#include "find/search.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/accessible_texts_qt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace stirpex {

namespace {

enum Column { ColumnName, ColumnYears, ColumnPlaces, ColumnMatched };
constexpr int kPersonRole = Qt::UserRole;

QString fromModel(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toModel(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

// The label is the field's buddy and so its name for a screen reader; the hint, gone once the field
// is typed in, is read as its description.
QLineEdit* field(QFormLayout* form, QWidget* parent, const QString& label, const QString& hint) {
    auto* edit = new QLineEdit(parent);
    edit->setPlaceholderText(hint);
    edit->setAccessibleDescription(hint);
    form->addRow(label, edit);
    return edit;
}

} // namespace

CSearchDlg::CSearchDlg(const CStirpexDoc& doc, const Collator& collator, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_collator(collator) {
    setWindowTitle(QStringLiteral("Search"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_editSurname = field(form, this, QStringLiteral("&Surname:"), QStringLiteral("the beginning or the whole"));
    m_editGiven =
        field(form, this, QStringLiteral("&Given name:"), QStringLiteral("in any name, alias or married name"));
    m_editSoundex =
        field(form, this, QStringLiteral("Sounds &like:"), QStringLiteral("a surname, by its Soundex codes"));
    m_editPlace = field(form, this, QStringLiteral("&Place:"), QStringLiteral("part of any fact's place"));
    m_editYears = field(form, this, QStringLiteral("&Years:"), QStringLiteral("1850..1860, 1850.., ..1860 or 1850"));
    m_comboSex = new QComboBox(this);
    m_comboSex->addItems({QStringLiteral("Any"), QStringLiteral("Male"), QStringLiteral("Female")});
    form->addRow(QStringLiteral("Se&x:"), m_comboSex);
    m_editText = field(form, this, QStringLiteral("&Words:"), QStringLiteral("in notes, citations and facts"));
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* search = buttons->addButton(QStringLiteral("&Search"), QDialogButtonBox::ActionRole);
    search->setDefault(true);
    m_labelStatus = new QLabel(this);
    layout->addWidget(m_labelStatus);
    m_listResults = new QTreeWidget(this);
    m_listResults->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Years"), QStringLiteral("Places"), QStringLiteral("Found in")});
    m_listResults->setRootIsDecorated(false);
    // No column chosen: the people stay in the order found, the name list's, until a heading is clicked.
    m_listResults->header()->setSortIndicator(-1, Qt::AscendingOrder);
    m_listResults->setSortingEnabled(true);
    m_listResults->setAllColumnsShowFocus(true);
    m_listResults->header()->setSectionResizeMode(QHeaderView::Interactive);
    layout->addWidget(m_listResults, 1);
    layout->addWidget(buttons);
    resize(720, 560);

    SetAccessibleTexts({
        {m_comboSex, QStringLiteral("Sex"), QStringLiteral("Any, or the sex the file records")},
        {m_listResults, QStringLiteral("People found"),
         QStringLiteral("Enter or a double click shows the person's page; a click on a heading sorts by that column")},
    });

    connect(search, &QPushButton::clicked, this, &CSearchDlg::OnSearch);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_listResults, &QTreeWidget::itemActivated, this, &CSearchDlg::choose);
}

// The fields as a query; false, with a word in the status line, for years it cannot read.
bool CSearchDlg::readQuery(SearchQuery& query) {
    query.surname = toModel(m_editSurname);
    query.given = toModel(m_editGiven);
    query.soundex = toModel(m_editSoundex);
    query.place = toModel(m_editPlace);
    query.text = toModel(m_editText);
    query.sex = m_comboSex->currentIndex() == 1 ? U'M' : m_comboSex->currentIndex() == 2 ? U'F' : 0;
    const std::string years = toModel(m_editYears);
    if (!years.empty() && !ReadYearRange(years, query)) {
        m_labelStatus->setText(QStringLiteral("Years are written 1850..1860, 1850.., ..1860 or 1850."));
        return false;
    }
    return true;
}

void CSearchDlg::OnSearch() {
    SearchQuery query;
    if (!readQuery(query)) {
        return;
    }
    m_listResults->clear();
    if (query.empty()) {
        m_labelStatus->setText(QStringLiteral("Fill in at least one field."));
        return;
    }
    const std::vector<SearchHit> hits = Search(m_doc, m_collator, query);
    m_listResults->setSortingEnabled(false);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(hits.size()));
    for (const SearchHit& hit : hits) {
        auto* item = new QTreeWidgetItem(
            {fromModel(hit.name), fromModel(hit.years), fromModel(hit.places), fromModel(hit.matched)});
        item->setData(ColumnName, kPersonRole, hit.person->m_nIndex);
        // Read whole where the column cuts them.
        item->setToolTip(ColumnPlaces, item->text(ColumnPlaces));
        item->setToolTip(ColumnMatched, item->text(ColumnMatched));
        items.append(item);
    }
    m_listResults->addTopLevelItems(items);
    m_listResults->setSortingEnabled(true);
    m_listResults->resizeColumnToContents(ColumnName);
    m_listResults->resizeColumnToContents(ColumnYears);
    // The places whole where they leave the last column some room; what was found is read there.
    m_listResults->resizeColumnToContents(ColumnPlaces);
    m_listResults->setColumnWidth(
        ColumnPlaces, std::min(m_listResults->columnWidth(ColumnPlaces), m_listResults->viewport()->width() / 3));
    m_labelStatus->setText(hits.empty()       ? QStringLiteral("Nobody was found.")
                           : hits.size() == 1 ? QStringLiteral("1 person found.")
                                              : QStringLiteral("%1 people found.").arg(hits.size()));
    if (!items.isEmpty()) {
        m_listResults->setCurrentItem(m_listResults->topLevelItem(0));
    }
}

void CSearchDlg::choose(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const int index = item->data(ColumnName, kPersonRole).toInt();
    if (index >= 0 && index < m_doc.m_nPersons) {
        m_chosen = m_doc.m_ppPersons[static_cast<std::size_t>(index)].get();
        accept();
    }
}

// Enter in a field searches; in the list it opens the person (itemActivated).
void CSearchDlg::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !m_listResults->hasFocus()) {
        OnSearch();
        return;
    }
    QDialog::keyPressEvent(event);
}

const CPerson* ShowSearch(CStirpexView& view, const Collator& collator) {
    CSearchDlg dialog(view.GetDocument(), collator, view.window());
    dialog.exec();
    return dialog.ChosenPerson();
}

} // namespace stirpex
