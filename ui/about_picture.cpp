// The About window's pictures: read from their files, the double chosen by
// the screen's device pixel ratio, and drawn to their places.
#include "about_picture.h"

#include <QImageReader>
#include <QPainter>

namespace mensura {

namespace {

// An icon file holds several images; the largest is the one shown.
QImage ReadPicture(const QString& file) {
    QImageReader reader(file);
    QImage image;
    for (int i = 0, count = qMax(1, reader.imageCount()); i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        const QImage next = reader.read();
        if (next.width() > image.width()) image = next;
    }
    return image;
}

}  // namespace

AboutPicture::AboutPicture(const char* name, const QString& file, Fit fit, const QRect& place,
                           QWidget* parent)
    : QLabel(parent), m_file(file), m_fit(fit) {
    setObjectName(QLatin1String(name));
    setPixmap(QPixmap::fromImage(ReadPicture(file)));
    setGeometry(fit == Fit::OwnSize ? QRect(place.topLeft(), pixmap().size()) : place);
}

QString AboutPicture::DoubleFile(const QString& file) {
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot <= file.lastIndexOf(QLatin1Char('/'))) return file + QStringLiteral("@2x");
    return file.left(dot) + QStringLiteral("@2x") + file.mid(dot);
}

QPixmap AboutPicture::PictureFor(qreal devicePixelRatio) {
    if (devicePixelRatio <= 1.0) return pixmap();
    if (!m_doubleRead) {
        m_doubleRead = true;
        // Any other size would draw a picture of another place or detail.
        const QImage image = ReadPicture(DoubleFile(m_file));
        if (image.size() == pixmap().size() * 2) {
            m_double = QPixmap::fromImage(image);
            m_double.setDevicePixelRatio(2.0);
        }
    }
    return m_double.isNull() ? pixmap() : m_double;
}

void AboutPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QPixmap picture = PictureFor(ratio);
    if (m_fit == Fit::OwnSize) {
        // Pixel for pixel where the picture suits the screen (1 and 2);
        // between them (1.5), the double is scaled down smoothly.
        painter.setRenderHint(QPainter::SmoothPixmapTransform,
                              !qFuzzyCompare(picture.devicePixelRatio(), ratio));
        painter.drawPixmap(0, 0, picture);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_fit == Fit::Stretch);
    painter.drawPixmap(rect(), picture);
}

}  // namespace mensura
