#pragma once

// Opens what a media link names: an image in an image window, anything else
// with the program the desktop has for it, a message when it cannot be found
// or opened. An archive's entry that the desktop must open is written to a
// private temporary folder first, which goes when the opener goes.

#include "model/media_location.h"

#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QImage;
class QTemporaryDir;
class QWidget;

namespace stirpex {

class CExtObj;
class CStirpexView;
class ImageView;
class MessageSink;

class MediaOpener {
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    // `messages` must outlive the opener.
    explicit MediaOpener(MessageSink& messages);
    MediaOpener(const MediaOpener&) = delete;
    MediaOpener& operator=(const MediaOpener&) = delete;
    ~MediaOpener();

    // How files and URLs reach the desktop; QDesktopServices::openUrl unless a test says otherwise.
    void SetUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // The media of the view's document, looked for beside its file and in its archive.
    ImageView* Open(CStirpexView& view, const CExtObj& object);
    // Returns the image window it opened, if it opened one.
    ImageView* Open(const CExtObj& object, const MediaSearch& search, QWidget* parent);

private:
    ImageView* openFile(const CExtObj& object, const MediaLocation& location, QWidget* parent);
    ImageView* openEntry(const CExtObj& object, const MediaLocation& location, const MediaArchive& archive,
                         QWidget* parent);
    ImageView* showImage(const CExtObj& object, const QImage& image, QWidget* parent);
    void openWithDesktop(const QUrl& url, std::string_view shown);
    // The entry's bytes as a file of the temporary folder; empty when that cannot be written.
    std::filesystem::path writeTemporary(std::string_view entryName, const std::string& bytes);
    void show(const std::string& message);

    MessageSink& m_messages;
    UrlOpener m_openUrl;
    std::unique_ptr<QTemporaryDir> m_temporary; // made when first needed
    int m_written = 0;
};

} // namespace stirpex
