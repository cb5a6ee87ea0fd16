// The About window, opened the way a user opens it (Alt+H, then A) from
// the main window, and driven with clicks and keys.
#include "frm_splash.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "about_picture.h"
#include "application.h"
#include "form1.h"
#include "window_tests.h"

using mensura::Form1;
using mensura::frmSplash;

namespace {

constexpr int kShortDelay = 1000;  // Timer1's interval in these tests, in ms

QList<frmSplash*> AboutWindows() {
    QList<frmSplash*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<frmSplash*>(w); about && about->isVisible()) found << about;
    return found;
}

}  // namespace

class FrmSplashTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pictures_data();
    void pictures();
    void picturesForDenseScreens();
    void labels();
    void closesByItself();
    void clicks_data();
    void clicks();
    void keys_data();
    void keys();
    void secondAboutOnlyRaises();
    void endingTheProgram_data();
    void endingTheProgram();

private:
    frmSplash* OpenAbout();
    template <class T = QWidget>
    T* Control(const char* name) const {
        return m_about->findChild<T*>(QLatin1String(name));
    }

    Form1* m_form = nullptr;
    QPointer<frmSplash> m_about;
    ModalWatchdog* m_watchdog = nullptr;
    QString m_unexpectedModal;
};

void FrmSplashTest::initTestCase() {
    mensura::PrepareApplication();
    QApplication::setQuitOnLastWindowClosed(false);
}

void FrmSplashTest::init() {
    m_form = new Form1;
    m_form->SetAboutCloseDelay(kShortDelay);
    QVERIFY(ShowActive(m_form));
    m_watchdog = new ModalWatchdog(&m_unexpectedModal);
}

void FrmSplashTest::cleanup() {
    delete m_watchdog;
    delete m_form;  // and with it an About window still loaded
    QVERIFY(AboutWindows().isEmpty());
    QVERIFY2(m_unexpectedModal.isEmpty(),
             qPrintable("a modal window opened: " + m_unexpectedModal));
}

// Help, then About, by their access keys.
frmSplash* FrmSplashTest::OpenAbout() {
    m_form->activateWindow();
    if (!QTest::qWaitFor([this] { return m_form->isActiveWindow(); })) return nullptr;
    QTest::keyClick(m_form, Qt::Key_H, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || menu->objectName() != "mnuHelp") return nullptr;
    QTest::keyClick(menu, Qt::Key_A);
    const QList<frmSplash*> windows = AboutWindows();
    m_about = windows.size() == 1 ? windows.first() : nullptr;
    if (m_about && QTest::qWaitForWindowExposed(m_about)) return m_about;
    return nullptr;
}

void FrmSplashTest::pictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QSize>("picture");  // the picture's own size
    // In pixels, from the design's twips (-210, 0, 7350, 4290 and so on):
    // 15 twips to a pixel, edges rounded, on either side of zero.
    QTest::newRow("Image1") << "Image1" << QRect(-14, 0, 490, 286) << QSize(800, 177);
    QTest::newRow("Image2") << "Image2" << QRect(118, 111, 335, 72) << QSize(500, 100);
    // Shown at its own size: 157 x 120 px is 2355 x 1800 twips.
    QTest::newRow("Image3") << "Image3" << QRect(-16, -3, 157, 120) << QSize(157, 120);
    QTest::newRow("imgLogo") << "imgLogo" << QRect(-8, 128, 121, 159) << QSize(32, 32);
}

void FrmSplashTest::pictures() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QSize, picture);
    QVERIFY(OpenAbout());
    QCOMPARE(m_about->size(), QSize(461, 282));  // 6915 x 4230 twips
    auto* image = m_about->findChild<QLabel*>(name);
    QVERIFY(image);
    QCOMPARE(image->geometry(), place);
    // Decoded from the resource: a missing one would be a null picture.
    QCOMPARE(image->pixmap().size(), picture);
}

// Each picture has a double of exactly twice its pixels, which screens of
// more than one device pixel to a pixel get in the same place and size; the
// picture shown at its own size is drawn pixel for pixel from the one that
// suits the screen the test runs on (FrmSplashScale2Test runs it at 2).
void FrmSplashTest::picturesForDenseScreens() {
    QVERIFY(OpenAbout());
    const auto pictures = m_about->findChildren<mensura::AboutPicture*>();
    QCOMPARE(pictures.size(), 4);
    for (mensura::AboutPicture* picture : pictures) {
        const QByteArray name = picture->objectName().toUtf8();
        const QPixmap ordinary = picture->PictureFor(1.0);
        QVERIFY2(!ordinary.isNull(), name.constData());
        for (qreal ratio : {1.5, 2.0}) {
            const QPixmap dense = picture->PictureFor(ratio);
            QVERIFY2(dense.size() == ordinary.size() * 2, name.constData());
            QVERIFY2(dense.deviceIndependentSize() == QSizeF(ordinary.size()), name.constData());
        }
    }
    auto* corner = m_about->findChild<mensura::AboutPicture*>(QStringLiteral("Image3"));
    QVERIFY(corner);
    const qreal ratio = corner->devicePixelRatioF();
    // Into a transparent canvas of the screen's density, without the
    // window's background.
    QImage drawn(corner->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    drawn.setDevicePixelRatio(ratio);
    drawn.fill(Qt::transparent);
    corner->render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);
    QVERIFY(drawn == corner->PictureFor(ratio).toImage().convertToFormat(
                         QImage::Format_ARGB32_Premultiplied));
}

void FrmSplashTest::labels() {
    QVERIFY(OpenAbout());
    QCOMPARE(m_about->windowTitle(), QStringLiteral("About Mensura"));
    QVERIFY(!m_about->parentWidget());  // no owner
    // The version of project(), as the program announces itself.
    QCOMPARE(Control<QLabel>("lblVersion")->text(),
             "Version " + QCoreApplication::applicationVersion());
    // Transparent, in Arial's stand-in, as wide as their text (to the next
    // pixel, and one more where the last letter's ink asks for it), as the
    // main window's captions are; the version line keeps its right edge at
    // 4608 twips, the others their left edge.
    for (const char* name : {"lblVersion", "lblCopyright", "Label2", "Label1"}) {
        auto* label = Control<QLabel>(name);
        QVERIFY2(label && !label->autoFillBackground(), name);
        QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"));
        const qreal advance = QFontMetricsF(label->font()).horizontalAdvance(label->text());
        QVERIFY2(advance <= label->width() && label->width() <= qCeil(advance) + 1, name);
        QVERIFY(QRect(QPoint(0, 0), m_about->size()).contains(label->geometry()));
    }
    QCOMPARE(Control("lblVersion")->geometry().topRight(), QPoint(306, 53));
    QCOMPARE(Control("lblCopyright")->pos(), QPoint(110, 226));
    QCOMPARE(Control("Label2")->pos(), QPoint(198, 12));
    QCOMPARE(Control("Label1")->pos(), QPoint(292, 262));
    QCOMPARE(Control<QLabel>("Label2")->palette().color(QPalette::WindowText), QColor(Qt::red));
}

void FrmSplashTest::closesByItself() {
    QVERIFY(OpenAbout());
    auto* timer = m_about->findChild<QTimer*>("Timer1");
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), kShortDelay);
    QTRY_VERIFY_WITH_TIMEOUT(m_about.isNull(), 5 * kShortDelay);  // unloaded: destroyed
    QVERIFY(m_form->isVisible());
    // Without a test's delay, the window stays 2.5 s.
    frmSplash plain(m_form);
    QCOMPARE(plain.findChild<QTimer*>("Timer1")->interval(), 2500);
}

void FrmSplashTest::clicks_data() {
    QTest::addColumn<QString>("control");
    // Where the control is topmost; several lie where controls overlap, so
    // the stacking order decides: backdrop lowest, pictures, then labels.
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("unloads");
    QTest::newRow("backdrop") << "Image1" << QPoint(440, 60) << true;
    QTest::newRow("banner") << "Image2" << QPoint(300, 150) << true;
    QTest::newRow("corner picture") << "Image3" << QPoint(130, 114) << true;  // over Image2
    QTest::newRow("logo") << "imgLogo" << QPoint(50, 200) << true;
    QTest::newRow("version") << "lblVersion" << QPoint(280, 60) << true;
    QTest::newRow("copyright") << "lblCopyright" << QPoint(111, 232) << true;  // over imgLogo
    QTest::newRow("web address") << "Label2" << QPoint(260, 18) << false;
    QTest::newRow("mail address") << "Label1" << QPoint(350, 267) << false;
}

void FrmSplashTest::clicks() {
    QFETCH(QString, control);
    QFETCH(QPoint, at);
    QFETCH(bool, unloads);
    QVERIFY(OpenAbout());
    QWidget* target = m_about->childAt(at);
    QVERIFY(target);
    QCOMPARE(target->objectName(), control);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(m_about, at));
    if (unloads) {
        QTRY_VERIFY(m_about.isNull());
        // Reopened at once, it is a new window with a full period.
        QVERIFY(OpenAbout());
        QVERIFY(m_about->findChild<QTimer*>("Timer1")->remainingTime() > kShortDelay / 2);
    } else {
        QTest::qWait(50);
        QVERIFY(m_about && m_about->isVisible());
    }
    QVERIFY(m_form->isVisible());
}

void FrmSplashTest::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("unloads");
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << true;
    QTest::newRow("capital") << int(Qt::Key_Q) << int(Qt::ShiftModifier) << true;
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << true;
    QTest::newRow("space") << int(Qt::Key_Space) << 0 << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << true;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << true;
    // Keys that type nothing leave it open.
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << false;
    QTest::newRow("arrow") << int(Qt::Key_Left) << 0 << false;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << false;
}

void FrmSplashTest::keys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, unloads);
    QVERIFY(OpenAbout());
    m_about->activateWindow();
    QTRY_VERIFY(m_about->isActiveWindow());
    QTest::keyClick(m_about, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (unloads) {
        QTRY_VERIFY(m_about.isNull());
        QTRY_VERIFY(m_form->isActiveWindow());  // the main window is shown and in front
    } else {
        QTest::qWait(50);
        QVERIFY(m_about && m_about->isVisible());
    }
}

void FrmSplashTest::secondAboutOnlyRaises() {
    QVERIFY(OpenAbout());
    QPointer<frmSplash> first = m_about;
    QTest::qWait(kShortDelay / 2);
    // Access keys again: the same window, its period running on.
    QVERIFY(OpenAbout());
    QCOMPARE(m_about.data(), first.data());
    QVERIFY(m_about->findChild<QTimer*>("Timer1")->remainingTime() <= kShortDelay * 6 / 10);
    // The main window goes on working beside it.
    QTest::keyClicks(m_form->findChild<QLineEdit*>("txtUserData"), "2");
    QCOMPARE(m_form->findChild<QLabel*>("lb1")->text(), QStringLiteral("24."));
}

void FrmSplashTest::endingTheProgram_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("aboutGone");
    // Closing the main window unloads the About window first; "Exit" ends
    // the program at once, whatever else is open.
    QTest::newRow("window manager's close") << "close" << true;
    QTest::newRow("Exit button") << "exit" << false;
}

void FrmSplashTest::endingTheProgram() {
    QFETCH(QString, way);
    QFETCH(bool, aboutGone);
    QVERIFY(OpenAbout());
    QTimer::singleShot(0, m_form, [this, way] {
        if (way == "close")
            m_form->close();
        else
            QTest::mouseClick(m_form->findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(kShortDelay / 2);  // well before the About window's own timer
    QCOMPARE(QApplication::exec(), 0);
    QTRY_COMPARE(m_about.isNull(), aboutGone);
}

QTEST_MAIN(FrmSplashTest)
#include "frm_splash_test.moc"
