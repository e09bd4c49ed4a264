#include "shell/open_gedcom_app.h"

#include "find/name_list_dlg.h"
#include "shell/file_name_qt.h"

namespace stirpex {

OpenGedcom::OpenGedcom(std::filesystem::path key, const Collator& collator, MessageSink* messages)
    : m_index(collator, messages), m_key(std::move(key)), m_path(DisplayPath(m_key)), m_title(DisplayName(m_key)) {}

OpenGedcom::~OpenGedcom() = default;

CNameListDlg& OpenGedcom::NameList() {
    if (!m_pNameListDlg) {
        m_pNameListDlg = std::make_unique<CNameListDlg>(m_index);
    }
    return *m_pNameListDlg;
}

} // namespace stirpex
