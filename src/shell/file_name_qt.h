#pragma once

// File names as the system stores them: bytes, which need not be UTF-8 (a
// name made under another locale, or copied from another system). Qt's text
// cannot hold such bytes: decoding replaces them, and the decoded name no
// longer opens the file. So the app names a file by its bytes, in a
// std::filesystem::path, wherever it opens, remembers or hands on a file, and
// makes text of a name only to show it.

#include <QString>
#include <QVariant>

#include <filesystem>

class QUrl;

namespace stirpex {

// The file that `text` names, in the system's file-name encoding.
std::filesystem::path PathFromText(const QString& text);

// The file of a local URL (a dropped file's, a file dialog's), its bytes as
// the URL encodes them, also when they are not UTF-8; empty for other URLs.
std::filesystem::path PathFromUrl(const QUrl& url);

// The path and its last part as text to show: bytes that are not UTF-8 show
// as replacement characters.
QString DisplayPath(const std::filesystem::path& path);
QString DisplayName(const std::filesystem::path& path);

// A path in the settings store: as text, readable, when its bytes are UTF-8,
// as the bytes themselves otherwise; either form reads back the same path.
QVariant StoredPath(const std::filesystem::path& path);
std::filesystem::path PathFromStored(const QVariant& stored);

} // namespace stirpex
