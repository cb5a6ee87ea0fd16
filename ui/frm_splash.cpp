// frmSplash, the About window: its pictures and captions, its close timer,
// and the clicks and keys that close it.
#include "frm_splash.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "about_picture.h"
#include "application.h"
#include "caption_label.h"
#include "twips.h"
#include "version.h"

// The pictures are a resource of their own. Referring to it here is what
// links it into the program from the static library; it is registered at
// start-up, which costs a list entry, and nothing of it is read or decoded
// before the About window is built. Q_INIT_RESOURCE names a function of the
// global namespace, so the call stands outside Mensura's own.
static void InitSplashResources() {
    Q_INIT_RESOURCE(frm_splash);
}

namespace mensura {

namespace {

using mensura::Pixels;
using mensura::Twips;

constexpr int kClientWidth = 6915;
constexpr int kClientHeight = 4230;

// A transparent caption that sizes itself to its text as the main window's
// do, growing from one edge of its design place. That place was drawn
// around the text the label had at design time, so the label's own width,
// without text, is none: it stands at that edge.
CaptionLabel* MakeCaption(const char* name, const QFont& font, const QColor& colour,
                          const QRect& place, CaptionLabel::Sizing sizing, QWidget* parent) {
    auto* label = new CaptionLabel(sizing, false, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    const bool keepRight = sizing == CaptionLabel::Sizing::KeepRight;
    label->setAlignment((keepRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    const int edge = keepRight ? place.x() + place.width() : place.x();
    label->SetDesignGeometry(QRect(edge, place.y(), 0, place.height()));
    return label;
}

// A font given in points, at the pixel size it has at 96 dpi, so that it
// keeps its size against the window, which is laid out in pixels.
QFont Arial(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setBold(bold);
    return font;
}

}  // namespace

frmSplash::frmSplash(QWidget* mainWindow, int closeAfterMs)
    : QWidget(nullptr), m_form1(mainWindow) {
    InitSplashResources();
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);  // unloading destroys the window and its timer
    // A fixed frame with a title and a close box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("About Mensura"));
    setFont(mensura::StandardFont());
    setFixedSize(Pixels(kClientWidth), Pixels(kClientHeight));
    // No control takes the focus; the window itself does, for its key press.
    setFocusPolicy(Qt::StrongFocus);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(closeAfterMs);  // disabled until Form_Load
    connect(m_timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    BuildControls();

    // In the middle of the screen that shows the main window.
    QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());

    Form_Load();
}

void frmSplash::BuildControls() {
    // Created bottom to top: the backdrop beneath everything, the other
    // pictures over it, the labels over the pictures.
    using Fit = AboutPicture::Fit;
    auto* image1 = new AboutPicture("Image1", QStringLiteral(":/about/backdrop.jpg"), Fit::Stretch,
                                    Twips(-210, 0, 7350, 4290), this);
    auto* image2 = new AboutPicture("Image2", QStringLiteral(":/about/banner.gif"), Fit::Stretch,
                                    Twips(1776, 1668, 5016, 1080), this);
    auto* image3 = new AboutPicture("Image3", QStringLiteral(":/about/corner.gif"), Fit::OwnSize,
                                    Twips(-240, -45, 2355, 1800), this);
    auto* imgLogo = new AboutPicture("imgLogo", QStringLiteral(":/about/logo.ico"),
                                     Fit::StretchBlocks, Twips(-120, 1920, 1815, 2385), this);

    using Sizing = CaptionLabel::Sizing;
    m_lblVersion = MakeCaption("lblVersion", Arial(12, true), Qt::black, Twips(3720, 792, 888, 288),
                               Sizing::KeepRight, this);
    m_lblVersion->SetCaption(QStringLiteral("Version"));
    auto* copyright = MakeCaption("lblCopyright", Arial(8.25, false), Qt::black,
                                  Twips(1650, 3390, 4740, 210), Sizing::KeepLeft, this);
    copyright->SetCaption(QStringLiteral("Copyright \u00A9 2026 The Mensura developers"));
    auto* web = MakeCaption("Label2", Arial(9.75, true), QColor(255, 0, 0),
                            Twips(2970, 180, 2355, 240), Sizing::KeepLeft, this);
    web->SetCaption(QStringLiteral("www.mensura.example.org"));
    auto* mail = MakeCaption("Label1", font(), Qt::black, Twips(4380, 3930, 1365, 195),
                             Sizing::KeepLeft, this);
    mail->SetCaption(QStringLiteral("help@mensura.example.org"));

    WatchClicks(image1, &frmSplash::Image1_Click);
    WatchClicks(image2, &frmSplash::Image2_Click);
    WatchClicks(image3, &frmSplash::Image3_Click);
    WatchClicks(imgLogo, &frmSplash::imgLogo_Click);
    WatchClicks(m_lblVersion, &frmSplash::lblVersion_Click);
    WatchClicks(copyright, &frmSplash::lblCopyright_Click);
    WatchClicks(web, nullptr);
    WatchClicks(mail, nullptr);
}

void frmSplash::WatchClicks(QWidget* control, Handler handler) {
    control->installEventFilter(this);
    m_clickHandlers.append({control, handler});
}

// --- Events -------------------------------------------------------------------

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    for (const auto& [control, handler] : m_clickHandlers) {
        if (control != watched) continue;
        switch (event->type()) {
            case QEvent::MouseButtonRelease: {
                // A click: the left button let go over the control it was
                // pressed on (the press grabbed the mouse for it).
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (handler && mouse->button() == Qt::LeftButton &&
                    control->rect().contains(mouse->position().toPoint()))
                    (this->*handler)();
                return true;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                // Taken by the control itself: a label over the backdrop
                // must not pass its click on to the window.
                return true;
            default:
                return QWidget::eventFilter(watched, event);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool frmSplash::event(QEvent* event) {
    // Caught before QWidget sees it, which would take Tab to move the focus.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool control = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                             key->key() == Qt::Key_Escape || key->key() == Qt::Key_Backspace ||
                             key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        // Alt with a letter is a command to the desktop, not a character.
        const bool typed =
            !key->text().isEmpty() && !(key->modifiers() & (Qt::AltModifier | Qt::MetaModifier));
        if (control || typed) {
            Form_KeyPress();
            return true;
        }
    }
    return QWidget::event(event);
}

// --- Handlers -----------------------------------------------------------------

void frmSplash::Form_Load() {
    m_lblVersion->SetCaption(QStringLiteral("Version %1.%2.%3")
                                 .arg(MENSURA_VERSION_MAJOR)
                                 .arg(MENSURA_VERSION_MINOR)
                                 .arg(MENSURA_VERSION_PATCH));
    m_timer1->start();
}

void frmSplash::Form_KeyPress() {
    if (m_form1) {
        m_form1->show();
        m_form1->raise();
        m_form1->activateWindow();
    }
    Unload();
}

void frmSplash::Timer1_Timer() {
    m_timer1->stop();
    Unload();
}

void frmSplash::Image1_Click() {
    Unload();
}

void frmSplash::Image2_Click() {
    Unload();
}

void frmSplash::Image3_Click() {
    Unload();
}

void frmSplash::imgLogo_Click() {
    Unload();
}

void frmSplash::lblCopyright_Click() {
    Unload();
}

void frmSplash::lblVersion_Click() {
    Unload();
}

void frmSplash::Unload() {
    close();  // and, with WA_DeleteOnClose, deleted once this event is done
}

}  // namespace mensura
