// The results' menus and the clipboard: Copy, Copy Number, Copy All, and
// the menu of all rows.
#include "results_menus.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "recompute.h"

namespace mensura {

namespace {

// The clipboard, and the selection that a middle click pastes where the
// platform has one, get the same plain text.
void PutOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) clipboard->setText(text, QClipboard::Selection);
}

}  // namespace

ResultsMenus::ResultsMenus(QWidget* window, std::function<ResultRow(int row)> rowAt)
    : m_window(window), m_rowAt(std::move(rowAt)) {}

// Copy, Copy Number and Copy All for one value label; Copy Number is greyed
// where there is no number to copy.
void ResultsMenus::FillValueMenu(int row, QMenu* menu) {
    QAction* copy = menu->addAction(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("mnuCopy"));
    QObject::connect(copy, &QAction::triggered, m_window, [this, row] { Copy(row); });
    QAction* number = menu->addAction(QStringLiteral("Copy &Number"));
    number->setObjectName(QStringLiteral("mnuCopyNumber"));
    number->setEnabled(!m_rowAt(row).number.isEmpty());
    QObject::connect(number, &QAction::triggered, m_window, [this, row] { CopyNumber(row); });
    QAction* all = menu->addAction(QStringLiteral("Copy &All"));
    all->setObjectName(QStringLiteral("mnuCopyAll"));
    QObject::connect(all, &QAction::triggered, m_window, [this] { CopyAll(); });
}

void ResultsMenus::ShowValueMenu(int row, const QPoint& globalPos) {
    if (m_rowAt(row).caption.isEmpty()) return;
    auto* menu = new QMenu(m_window);
    menu->setObjectName(QStringLiteral("mnuValue"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    FillValueMenu(row, menu);
    menu->popup(globalPos);
}

QMenu* ResultsMenus::ResultsMenu(const QString& title, QWidget* parent) {
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(QStringLiteral("mnuResults"));
    for (int row = 1; row <= kRowCount; ++row) {
        const ResultRow result = m_rowAt(row);
        if (result.caption.isEmpty()) continue;
        // After the tab the caption stands in the menu's right-hand column.
        QMenu* rowMenu = menu->addMenu(result.unit + QLatin1Char('\t') + result.caption);
        rowMenu->setObjectName(QStringLiteral("mnuResult%1").arg(row));
        FillValueMenu(row, rowMenu);
    }
    if (menu->isEmpty()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

void ResultsMenus::ShowResultsMenu(const QPoint& globalPos) {
    QMenu* menu = ResultsMenu(QString(), m_window);
    if (!menu) return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void ResultsMenus::Copy(int row) {
    PutOnClipboard(m_rowAt(row).caption);
}

void ResultsMenus::CopyNumber(int row) {
    const QString number = m_rowAt(row).number;
    if (!number.isEmpty()) PutOnClipboard(number);
}

void ResultsMenus::CopyAll() {
    PutOnClipboard(AllRowsText());
}

QString ResultsMenus::AllRowsText() const {
    QString text;
    for (int row = 1; row <= kRowCount; ++row) {
        const ResultRow result = m_rowAt(row);
        if (!result.named && result.caption.isEmpty()) continue;
        text += result.unit + QLatin1Char('\t') + result.caption + QLatin1Char('\n');
    }
    return text;
}

}  // namespace mensura
