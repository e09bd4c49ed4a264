#include "shell/file_name_qt.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QUrl>

namespace stirpex {

namespace {

QByteArray bytesOf(const std::filesystem::path& path) {
    return QByteArray::fromStdString(path.native());
}

std::filesystem::path pathOf(const QByteArray& bytes) {
    return std::filesystem::path(bytes.toStdString());
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes); // decoding is what finds the error
    return !decoder.hasError();
}

} // namespace

std::filesystem::path PathFromText(const QString& text) {
    return pathOf(QFile::encodeName(text));
}

std::filesystem::path PathFromUrl(const QUrl& url) {
    if (!url.isLocalFile()) {
        return {};
    }
    if (!url.host().isEmpty()) {
        return PathFromText(url.toLocalFile()); // a share: "//host/path"
    }
    // Decoding the URL to text would replace the bytes that are not UTF-8; its encoded form still has them.
    return pathOf(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

QString DisplayPath(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QFile::decodeName(bytesOf(path)));
}

QString DisplayName(const std::filesystem::path& path) {
    return QFile::decodeName(bytesOf(path.filename()));
}

QVariant StoredPath(const std::filesystem::path& path) {
    const QByteArray bytes = bytesOf(path);
    return isUtf8(bytes) ? QVariant(QString::fromUtf8(bytes)) : QVariant(bytes);
}

std::filesystem::path PathFromStored(const QVariant& stored) {
    if (stored.typeId() == QMetaType::QByteArray) {
        return pathOf(stored.toByteArray());
    }
    return PathFromText(stored.toString());
}

} // namespace stirpex
