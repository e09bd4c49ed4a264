#include "shell/open_gedcom_app.h"

#include "find/name_list_dlg.h"

#include <QFileInfo>

namespace stirpex {

OpenGedcom::OpenGedcom(QString path, const Collator& collator, MessageSink* messages)
    : m_index(collator, messages), m_path(std::move(path)), m_title(QFileInfo(m_path).fileName()) {}

OpenGedcom::~OpenGedcom() = default;

CNameListDlg& OpenGedcom::NameList() {
    if (!m_pNameListDlg) {
        m_pNameListDlg = std::make_unique<CNameListDlg>(m_index);
    }
    return *m_pNameListDlg;
}

} // namespace stirpex
