#include "shell/open_gedcom_app.h"

#include <QFileInfo>

namespace stirpex {

OpenGedcom::OpenGedcom(QString path, const Collator& collator, MessageSink* messages)
    : m_index(collator, messages), m_path(std::move(path)), m_title(QFileInfo(m_path).fileName()) {}

OpenGedcom::~OpenGedcom() = default;

} // namespace stirpex
