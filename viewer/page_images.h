#pragma once

// The pictures of the help page shown, within a budget. Qt's text renderer
// asks for a page's images through the document's resource lookup, and
// falls back to the disk by itself for any image that lookup leaves null;
// it decodes whatever size a file claims, once per reference. PageImages
// answers every request with an image, a 1x1 transparent one when it
// refuses, so the fallback is never reached; reads each picture's size
// before decoding it; decodes each distinct picture once per page; and
// stops decoding when the page's pictures reach kMaxPagePixels.
#include <QHash>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>

namespace mensura {

class PageImages {
public:
    // The largest picture decoded: each side, and pixels in all.
    static constexpr int kMaxSide = 4096;
    static constexpr qint64 kMaxPixels = 4 * 1024 * 1024;
    // Pixels decoded for one page, all its pictures together (64 MB at four
    // bytes a pixel).
    static constexpr qint64 kMaxPagePixels = 16 * 1024 * 1024;

    // Reads an object of the help file by its absolute path inside it;
    // nullopt when there is none. The only way PageImages reads anything.
    using Reader = std::function<std::optional<QByteArray>(const QString& path)>;
    explicit PageImages(Reader reader) : m_reader(std::move(reader)) {}

    // A new page: its pictures are decoded afresh, within a fresh budget.
    void StartPage();
    // The picture at an absolute path inside the file ("/images/a.png"),
    // or Refused() when it is missing, no PNG, JPEG, GIF, BMP or ICO
    // picture, larger than the caps allow, or beyond the page's budget.
    QImage Image(const QString& path);
    // What a refused picture is answered with: never a null image.
    static QImage Refused();

    qint64 DecodedPixels() const { return m_pixels; }
    int Decoded() const { return m_decoded; }

private:
    QImage Decode(const QString& path);

    Reader m_reader;
    QHash<QString, QImage> m_images;  // by lower-cased path, refusals too
    qint64 m_pixels = 0;
    int m_decoded = 0;
};

}  // namespace mensura
