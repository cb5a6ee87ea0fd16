#pragma once

// frmSplash, Mensura's About window: a picture-backed window with the
// version line that closes itself 2.5 seconds after it is loaded, or earlier
// on a click on a picture, the version line or the copyright line, or on a
// key that types a character.
//
// It is built only when the main window's About command first asks for it,
// with its pictures (a resource of their own, decoded here and nowhere
// else), and unloading it destroys it with its timer: the next About command
// builds it afresh. It has no owner window; the main window only keeps a
// pointer to it, to raise it rather than build a second one, and to close
// it when the main window closes. Every control carries its name as
// objectName.

#include <QPointer>
#include <QWidget>

class QTimer;

namespace mensura {

class CaptionLabel;

class frmSplash : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCloseAfterMs = 2500;

    // mainWindow is the window a key press brings to the front; it is not
    // the About window's owner. closeAfterMs is Timer1's interval.
    explicit frmSplash(QWidget* mainWindow, int closeAfterMs = kCloseAfterMs);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = void (frmSplash::*)();

    void BuildControls();
    void WatchClicks(QWidget* control, Handler handler);

    // Handlers, named after their control and event.
    void Form_Load();
    void Form_KeyPress();
    void Timer1_Timer();
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void imgLogo_Click();
    void lblCopyright_Click();
    void lblVersion_Click();

    void Unload();

    QPointer<QWidget> m_form1;
    QTimer* m_timer1 = nullptr;
    CaptionLabel* m_lblVersion = nullptr;
    // The controls that answer a click, and what they run; Label1 and
    // Label2 are in it with no handler, so that a click on them is theirs.
    QList<QPair<QWidget*, Handler>> m_clickHandlers;
};

}  // namespace mensura
