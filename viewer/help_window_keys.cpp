// The help window's keys (help_window.h): find, zoom, print, and closing.
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>

#include "find_bar.h"
#include "help_browser.h"
#include "help_window.h"

namespace mensura {

// The window's keys: find, zoom, print, and closing.
void HelpWindow::AddKeys() {
    const auto key = [this](const QKeySequence& sequence, auto slot) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, slot);
        return shortcut;
    };
    key(QKeySequence::Find, [this] { m_findBar->Open(); });
    // F3 and Shift+F3 on every desktop, beside its own keys for them.
    const auto withF3 = [](QKeySequence::StandardKey standard, const QKeySequence& f3) {
        QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
        if (!keys.contains(f3)) keys << f3;
        return keys;
    };
    key(QKeySequence(), [this] {
        m_findBar->Next();
    })->setKeys(withF3(QKeySequence::FindNext, QKeySequence(Qt::Key_F3)));
    key(QKeySequence(), [this] {
        m_findBar->Previous();
    })->setKeys(withF3(QKeySequence::FindPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F3)));
    key(QKeySequence::ZoomIn, [this] { m_browser->ZoomIn(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { m_browser->ZoomIn(); });
    key(QKeySequence::ZoomOut, [this] { m_browser->ZoomOut(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { m_browser->ResetZoom(); });
    key(QKeySequence::Print, [this] {
        if (m_file) emit PrintRequested(m_path, m_browser->source());
    });
    key(QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });
    // Escape empties the Index or Search field it is pressed in, then
    // closes the find bar, then the window.
    key(QKeySequence(Qt::Key_Escape), [this] {
        auto* field = qobject_cast<QLineEdit*>(focusWidget());
        const bool pane = field && (field == m_searchText ||
                                    field->objectName() == QLatin1String("helpIndexText"));
        if (pane && !field->text().isEmpty())
            field->clear();
        else if (m_findBar->isVisible())
            m_findBar->Close();
        else
            close();
    });
}

}  // namespace mensura
