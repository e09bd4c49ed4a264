#include "shell/media_opener_app.h"

#include "gedcom/load_sinks.h"
#include "model/media_archive.h"
#include "model/source.h"
#include "page/stirpex_view.h"
#include "shell/file_name_qt.h"
#include "shell/image_view.h"
#include "shell/open_gedcom_app.h"

#include <QBuffer>
#include <QByteArray>
#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>
#include <optional>

namespace stirpex {

namespace {

std::string toUtf8(const QString& text) {
    return text.toStdString();
}

// A file URL that keeps the name's bytes, also when they are not UTF-8.
QUrl fileUrl(const std::filesystem::path& path) {
    const QByteArray bytes = QByteArray::fromStdString(path.string());
    return QUrl::fromEncoded(QByteArray("file://") + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

// Turned as the camera recorded; null when the bytes are no image Qt can read.
QImage decodeImage(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    return reader.read();
}

std::optional<QByteArray> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return QByteArray::fromStdString(bytes);
}

std::string notFoundText(const CExtObj& object, const MediaLocation& location) {
    const std::string_view file = object.m_strFile.view();
    if (file.empty()) {
        return "The media record " + std::string(object.m_strID.view()) + " names no file.";
    }
    std::string text = "Cannot find the media file " + std::string(file) + ".";
    if (!location.tried.empty()) {
        text += "\nLooked for it, also ignoring case, at:";
        for (const std::string& place : location.tried) {
            text.append("\n").append(place);
        }
    }
    return text;
}

} // namespace

MediaOpener::MediaOpener(MessageSink& messages)
    : m_messages(messages), m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

MediaOpener::~MediaOpener() = default;

ImageView* MediaOpener::Open(CStirpexView& view, const CExtObj& object) {
    MediaSearch search;
    search.folder = view.Document().Key().parent_path();
    search.archive = view.GetDocument().m_media.get();
    return Open(object, search, view.window());
}

ImageView* MediaOpener::Open(const CExtObj& object, const MediaSearch& search, QWidget* parent) {
    const MediaLocation location = LocateMedia(object.m_strFile.view(), search);
    switch (location.place) {
    case MediaPlace::Url:
        openWithDesktop(QUrl(QString::fromStdString(location.name)), location.name);
        return nullptr;
    case MediaPlace::File:
        return openFile(object, location, parent);
    case MediaPlace::ArchiveEntry:
        return openEntry(object, location, *search.archive, parent);
    case MediaPlace::NotFound:
        break;
    }
    show(notFoundText(object, location));
    return nullptr;
}

ImageView* MediaOpener::openFile(const CExtObj& object, const MediaLocation& location, QWidget* parent) {
    if (IsImageMedia(object.m_strFile.view(), object.m_strForm.view())) {
        const std::optional<QByteArray> bytes = readFile(location.path);
        if (!bytes) {
            show("Cannot read the media file " + toUtf8(DisplayPath(location.path)) + ".");
            return nullptr;
        }
        const QImage image = decodeImage(*bytes);
        if (!image.isNull()) {
            return showImage(object, image, parent);
        }
        // An image of a kind Qt cannot read may still open with the desktop.
    }
    openWithDesktop(fileUrl(location.path), toUtf8(DisplayPath(location.path)));
    return nullptr;
}

ImageView* MediaOpener::openEntry(const CExtObj& object, const MediaLocation& location, const MediaArchive& archive,
                                  QWidget* parent) {
    const std::optional<std::string> bytes = archive.ReadEntry(location.name);
    if (!bytes) {
        show("Cannot read the media file " + location.name + " from the archive.");
        return nullptr;
    }
    if (IsImageMedia(location.name, object.m_strForm.view()) || IsImageMedia(object.m_strFile.view(), {})) {
        const QImage image = decodeImage(QByteArray::fromStdString(*bytes));
        if (!image.isNull()) {
            return showImage(object, image, parent);
        }
    }
    const std::filesystem::path written = writeTemporary(location.name, *bytes);
    if (!written.empty()) {
        openWithDesktop(fileUrl(written), location.name);
    }
    return nullptr;
}

ImageView* MediaOpener::showImage(const CExtObj& object, const QImage& image, QWidget* parent) {
    const std::string_view title = object.m_strTitle.view();
    const std::string_view caption = title.empty() ? MediaFileName(object.m_strFile.view()) : title;
    auto* window =
        new ImageView(image, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), parent);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void MediaOpener::openWithDesktop(const QUrl& url, std::string_view shown) {
    if (!m_openUrl(url)) {
        show("Cannot open " + std::string(shown) + ": no program on this system opens it.");
    }
}

std::filesystem::path MediaOpener::writeTemporary(std::string_view entryName, const std::string& bytes) {
    if (!m_temporary) {
        m_temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/stirpex-media-XXXXXX"));
    }
    if (!m_temporary->isValid()) {
        show("Cannot open " + std::string(entryName) + ": no temporary folder to write it to (" +
             toUtf8(m_temporary->errorString()) + ").");
        m_temporary.reset();
        return {};
    }
    // A folder per entry: two entries of the same name in different folders of the archive stay apart.
    const std::filesystem::path folder = PathFromText(m_temporary->path()) / std::to_string(++m_written);
    std::string name(MediaFileName(entryName));
    if (name.empty() || name == "." || name == "..") {
        name = "media";
    }
    std::filesystem::path path = folder / name;
    std::error_code error;
    std::filesystem::create_directory(folder, error);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (error || !out) {
        show("Cannot write " + std::string(entryName) + " to the temporary folder " + toUtf8(DisplayPath(folder)) +
             ".");
        return {};
    }
    return path;
}

void MediaOpener::show(const std::string& message) {
    m_messages.Show(message);
}

} // namespace stirpex
