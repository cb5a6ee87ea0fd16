// The window icon both programs show: a picture for every size the desktop
// installs, and larger sizes, asked for on dense screens, from its drawing.
#include <QImageReader>
#include <QtTest>

#include "application.h"

class WindowIconTest : public QObject {
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
};

void WindowIconTest::sizes_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("picture");  // one of the icon's own pictures
    for (int size : {16, 24, 32, 48, 64, 128, 256}) QTest::addRow("%d px", size) << size << true;
    // Twice the largest picture: a 256-pixel icon on a screen of ratio 2.
    QTest::addRow("512 px") << 512 << false;
}

void WindowIconTest::sizes() {
    QFETCH(int, size);
    QFETCH(bool, picture);
    const QIcon icon = mensura::WindowIcon();
    QCOMPARE(icon.availableSizes().contains(QSize(size, size)), picture);
    if (!picture && !QImageReader::supportedImageFormats().contains("svg"))
        QSKIP("this Qt cannot read SVG: larger sizes show the largest picture");
    const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // Drawn, not empty: the measuring cylinder covers the middle.
    QVERIFY(image.pixelColor(size / 2, size / 2).alpha() > 0);
}

QTEST_MAIN(WindowIconTest)
#include "window_icon_test.moc"
