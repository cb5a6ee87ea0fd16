#pragma once

// A picture of the About window: a label that shows an image file stretched
// to its place or at its own size. On a screen of more than one device pixel
// to a pixel it draws the file's double instead (NAME@2x.EXT beside
// NAME.EXT, drawn at twice the size), so that it stays sharp there while its
// place and size stay those of the ordinary picture.
#include <QLabel>
#include <QPixmap>
#include <QString>

namespace mensura {

class AboutPicture : public QLabel {
    Q_OBJECT

public:
    // Stretched smoothly to its place; stretched with its pixels kept as
    // blocks, for an icon's few pixels; or at its own size from the place's
    // top-left corner.
    enum class Fit { Stretch, StretchBlocks, OwnSize };

    // The label's pixmap is the file's picture (of an icon file, its largest
    // image), which gives the label its size where the fit is OwnSize.
    AboutPicture(const char* name, const QString& file, Fit fit, const QRect& place,
                 QWidget* parent);

    // What it draws on a screen of the given device pixel ratio: up to 1,
    // the label's pixmap; beyond, the double, read from its file the first
    // time, with a device pixel ratio of 2 so that it measures the same in
    // pixels. Without a double of exactly twice the size, the pixmap.
    QPixmap PictureFor(qreal devicePixelRatio);

    // NAME@2x.EXT for NAME.EXT.
    static QString DoubleFile(const QString& file);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_file;
    Fit m_fit;
    QPixmap m_double;
    bool m_doubleRead = false;
};

}  // namespace mensura
