#include "page_images.h"

#include <QBuffer>
#include <QImageReader>

namespace mensura {

void PageImages::StartPage() {
    m_images.clear();
    m_pixels = 0;
    m_decoded = 0;
}

QImage PageImages::Refused() {
    static const QImage refused = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        return image;
    }();
    return refused;
}

QImage PageImages::Image(const QString& path) {
    // The file's names are case-blind, and so is the cache: one picture
    // named two ways is still decoded once.
    const QString key = path.toLower();
    if (const auto known = m_images.constFind(key); known != m_images.constEnd()) return *known;
    QImage image = Decode(path);
    if (image.isNull()) image = Refused();
    m_images.insert(key, image);
    return image;
}

QImage PageImages::Decode(const QString& path) {
    const std::optional<QByteArray> bytes = m_reader(path);
    if (!bytes) return {};
    QBuffer buffer;
    buffer.setData(*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // The formats help pictures come in; no others reach a decoder.
    static const QList<QByteArray> kFormats = {"png", "jpeg", "jpg", "gif", "bmp", "ico"};
    if (!kFormats.contains(reader.format().toLower())) return {};
    // The size the header claims, read before anything is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide)
        return {};
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > kMaxPixels || m_pixels + pixels > kMaxPagePixels) return {};
    QImage image = reader.read();
    // A decoder that made more than the header said is not believed.
    if (image.isNull() || image.size() != size) return {};
    m_pixels += pixels;
    ++m_decoded;
    return image;
}

}  // namespace mensura
