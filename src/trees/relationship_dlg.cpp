#include "trees/relationship_dlg.h"

#include "model/stirpex_doc.h"
#include "model/text_direction.h"
#include "page/stirpex_view.h"
#include "trees/relationship.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

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

CRelationshipDlg::CRelationshipDlg(const CStirpexDoc& doc, const CPerson& person, const CPerson* home, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_person(person), m_home(home) {
    setWindowTitle(QStringLiteral("Relationship to %1").arg(fromModel(IsolateRightToLeft(person.FormatName(0)))));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("How is this person related to %1?").arg(fromModel(person.GetDisplayName()).toHtmlEscaped()),
        this));
    m_editName = new QLineEdit(this);
    m_editName->setPlaceholderText(QStringLiteral("Type a name (surname, given names) or an identifier"));
    m_editName->setAccessibleName(QStringLiteral("Other person"));
    layout->addWidget(m_editName);
    m_listMatches = new QListWidget(this);
    m_listMatches->setAccessibleName(QStringLiteral("People found"));
    layout->addWidget(m_listMatches, 1);
    m_btnHome = new QPushButton(home ? QStringLiteral("The home person: %1").arg(fromModel(home->GetDisplayName()))
                                     : QStringLiteral("No home person"),
                                this);
    m_btnHome->setEnabled(home != nullptr);
    layout->addWidget(m_btnHome);
    m_textResult = new QTextBrowser(this);
    m_textResult->setOpenLinks(false);
    m_textResult->setAccessibleName(QStringLiteral("Relationships"));
    layout->addWidget(m_textResult, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    resize(560, 520);

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

// People whose "surname, given names" begins with the typed text (case
// ignored), and the person whose identifier it is.
void CRelationshipDlg::findMatches(const QString& typed) {
    m_listMatches->clear();
    m_matches.clear();
    const QString wanted = typed.trimmed();
    if (wanted.isEmpty()) {
        return;
    }
    const CPerson* byKey = m_doc.FindPerson(wanted.toStdString());
    if (byKey) {
        m_matches.push_back(byKey);
    }
    for (const auto& person : m_doc.m_ppPersons) {
        if (static_cast<int>(m_matches.size()) >= kMostMatches) {
            break;
        }
        if (person.get() != byKey && fromModel(person->FormatName(1)).startsWith(wanted, Qt::CaseInsensitive)) {
            m_matches.push_back(person.get());
        }
    }
    for (const CPerson* match : m_matches) {
        m_listMatches->addItem(
            QStringLiteral("%1 (%2)").arg(fromModel(match->GetDisplayName()), fromModel(match->m_strID.view())));
    }
    m_listMatches->setCurrentRow(m_matches.empty() ? -1 : 0);
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
    CRelationshipDlg dialog(view.GetDocument(), *person, home, view.window());
    dialog.exec();
    return dialog.ChosenPerson();
}

} // namespace stirpex
