#include "trees/relationship_dlg.h"

#include "find/name_index.h"
#include "find/type_ahead.h"
#include "model/shown_text.h"
#include "model/stirpex_doc.h"
#include "model/text_direction.h"
#include "page/stirpex_view.h"
#include "shell/accessible_texts_qt.h"
#include "shell/open_gedcom_app.h"
#include "trees/relationship.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <span>

namespace stirpex {

namespace {

// Enough to choose from; more would only slow typing in a large file.
constexpr int kMostMatches = 200;
constexpr auto kPersonScheme = "person";

QString fromModel(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString personLink(const CPerson& person) {
    return QStringLiteral("<a href=\"%1:%2\">%3</a>")
        .arg(QLatin1String(kPersonScheme))
        .arg(person.m_nIndex)
        .arg(fromModel(person.GetDisplayName()).toHtmlEscaped());
}

} // namespace

CRelationshipDlg::CRelationshipDlg(const CStirpexDoc& doc, const CPerson& person, const CPerson* home, QWidget* parent,
                                   const NameIndex* index)
    : QDialog(parent), m_doc(doc), m_person(person), m_home(home), m_index(index) {
    setWindowTitle(QStringLiteral("Relationship to %1").arg(fromModel(IsolateRightToLeft(person.FormatName(0)))));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("How is this person related to %1?").arg(fromModel(person.GetDisplayName()).toHtmlEscaped()),
        this));
    m_editName = new QLineEdit(this);
    m_editName->setPlaceholderText(QStringLiteral("Type a name (surname, given names) or an identifier"));
    layout->addWidget(m_editName);
    m_listMatches = new QListWidget(this);
    layout->addWidget(m_listMatches, 1);
    m_btnHome = new QPushButton(home ? QStringLiteral("The home person: %1").arg(fromModel(home->GetDisplayName()))
                                     : QStringLiteral("No home person"),
                                this);
    m_btnHome->setEnabled(home != nullptr);
    layout->addWidget(m_btnHome);
    m_textResult = new QTextBrowser(this);
    m_textResult->setOpenLinks(false);
    layout->addWidget(m_textResult, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    resize(560, 520);

    SetAccessibleTexts({
        {m_editName, QStringLiteral("Other person"), m_editName->placeholderText()},
        {m_listMatches, QStringLiteral("People found"),
         QStringLiteral("Enter or a double click shows how this person is related")},
        {m_textResult, QStringLiteral("Relationships"),
         QStringLiteral("Each relationship found, nearest first, with its path; each person of the path is a link "
                        "to their page")},
    });

    connect(m_editName, &QLineEdit::textChanged, this, &CRelationshipDlg::findMatches);
    connect(m_editName, &QLineEdit::returnPressed, this, &CRelationshipDlg::chooseMatch);
    connect(m_listMatches, &QListWidget::itemActivated, this, [this] { chooseMatch(); });
    connect(m_btnHome, &QPushButton::clicked, this, [this] {
        if (m_home) {
            ShowRelationship(*m_home);
        }
    });
    connect(m_textResult, &QTextBrowser::anchorClicked, this, &CRelationshipDlg::followLink);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// The person whose identifier the typed text is, then the people whose
// "surname, given names" begins with it.
void CRelationshipDlg::findMatches(const QString& typed) {
    m_listMatches->clear();
    m_matches.clear();
    const QString wanted = typed.trimmed();
    if (wanted.isEmpty()) {
        return;
    }
    const QByteArray text = wanted.toUtf8();
    const std::string_view textView(text.constData(), static_cast<std::size_t>(text.size()));
    const CPerson* byKey = m_doc.FindPerson(textView);
    if (byKey) {
        m_matches.push_back(byKey);
    }
    if (m_index != nullptr && !m_index->empty()) {
        addIndexMatches(textView, byKey);
    } else {
        addScannedMatches(wanted, byKey);
    }
    for (const CPerson* match : m_matches) {
        m_listMatches->addItem(
            QStringLiteral("%1 (%2)").arg(fromModel(match->GetDisplayName()), fromModel(match->m_strID.view())));
    }
    m_listMatches->setCurrentRow(m_matches.empty() ? -1 : 0);
}

// In the name list's order, as the name list compares (case and accents
// ignored), each person once whichever of their names matched: the entries
// that begin alike stand together, so a key costs a halving of the list and
// the matches shown, not a reading of every person.
void CRelationshipDlg::addIndexMatches(std::string_view typed, const CPerson* byKey) {
    const std::span<const NameEntry> entries = m_index->entries();
    const int first = FindTyped(entries, m_index->collator(), typed);
    if (first < 0) {
        return;
    }
    for (std::size_t at = static_cast<std::size_t>(first);
         at < entries.size() && static_cast<int>(m_matches.size()) < kMostMatches; ++at) {
        if (m_index->collator().comparePrefix(ShownPrefix(entries[at].text), typed) != 0) {
            break;
        }
        const std::int32_t index = entries[at].person;
        if (index < 0 || index >= m_doc.m_nPersons) {
            continue;
        }
        const CPerson* person = m_doc.m_ppPersons[static_cast<std::size_t>(index)].get();
        if (person != byKey && std::find(m_matches.begin(), m_matches.end(), person) == m_matches.end()) {
            m_matches.push_back(person);
        }
    }
}

// In file order, case ignored.
void CRelationshipDlg::addScannedMatches(const QString& typed, const CPerson* byKey) {
    for (const auto& person : m_doc.m_ppPersons) {
        if (static_cast<int>(m_matches.size()) >= kMostMatches) {
            break;
        }
        if (person.get() != byKey && fromModel(person->FormatName(1)).startsWith(typed, Qt::CaseInsensitive)) {
            m_matches.push_back(person.get());
        }
    }
}

void CRelationshipDlg::chooseMatch() {
    const int row = m_listMatches->currentRow();
    if (row >= 0 && row < static_cast<int>(m_matches.size())) {
        ShowRelationship(*m_matches[static_cast<std::size_t>(row)]);
    }
}

void CRelationshipDlg::ShowRelationship(const CPerson& other) {
    const std::vector<Relationship> found = FindRelationships(m_doc, m_person, other);
    QString html;
    if (found.empty()) {
        html = QStringLiteral("<p>%1</p>").arg(fromModel(NoRelationshipSentence(m_person, other)).toHtmlEscaped());
    }
    for (const Relationship& relationship : found) {
        QStringList path;
        for (const CPerson* step : relationship.path) {
            path << personLink(*step);
        }
        html += QStringLiteral("<p><b>%1</b><br>%2</p>")
                    .arg(fromModel(relationship.sentence).toHtmlEscaped(), path.join(QStringLiteral(" &rarr; ")));
    }
    m_textResult->setHtml(html);
}

void CRelationshipDlg::followLink(const QUrl& url) {
    bool ok = false;
    const int index = url.path().toInt(&ok);
    if (url.scheme() == QLatin1String(kPersonScheme) && ok && index >= 0 && index < m_doc.m_nPersons) {
        m_chosen = m_doc.m_ppPersons[static_cast<std::size_t>(index)].get();
        accept();
    }
}

const CPerson* ShowRelationship(CStirpexView& view, const CPerson* home) {
    const CPerson* person = view.Page().m_pPerson;
    if (person == nullptr) {
        return nullptr;
    }
    CRelationshipDlg dialog(view.GetDocument(), *person, home, view.window(), &view.Document().Index());
    dialog.exec();
    return dialog.ChosenPerson();
}

} // namespace stirpex
