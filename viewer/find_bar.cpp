#include "find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

namespace mensura {

namespace {

// Puts the match in the middle of the view, not at its edge.
void Centre(QTextEdit* page, const QTextCursor& match) {
    page->setTextCursor(match);
    QScrollBar* bar = page->verticalScrollBar();
    const int y = page->cursorRect(match).center().y();
    bar->setValue(bar->value() + y - page->viewport()->height() / 2);
}

}  // namespace

FindBar::FindBar(QTextEdit* page, QWidget* parent) : QWidget(parent), m_page(page) {
    setObjectName(QStringLiteral("helpFindBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(QStringLiteral("F&ind:"));
    m_text = new QLineEdit;
    m_text->setObjectName(QStringLiteral("helpFindText"));
    m_text->setClearButtonEnabled(true);
    m_text->setAccessibleName(QStringLiteral("Find in page"));
    label->setBuddy(m_text);
    auto* previous = new QPushButton(QStringLiteral("&Previous"));
    previous->setObjectName(QStringLiteral("helpFindPrevious"));
    auto* next = new QPushButton(QStringLiteral("&Next"));
    next->setObjectName(QStringLiteral("helpFindNext"));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("helpFindStatus"));
    auto* close = new QToolButton;
    close->setText(QStringLiteral("Close"));
    close->setAccessibleName(QStringLiteral("Close the find bar"));
    close->setAutoRaise(true);
    for (QWidget* button : {static_cast<QWidget*>(previous), static_cast<QWidget*>(next)})
        button->setFocusPolicy(Qt::NoFocus);  // Enter stays with the field
    layout->addWidget(label);
    layout->addWidget(m_text, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_status);
    layout->addWidget(close);
    connect(m_text, &QLineEdit::textChanged, this, [this] {
        FindAll();
        // Typing goes to the first match from the top.
        if (!m_matches.isEmpty()) m_current = 0;
        ShowMatches();
    });
    connect(previous, &QPushButton::clicked, this, &FindBar::Previous);
    connect(next, &QPushButton::clicked, this, &FindBar::Next);
    connect(close, &QToolButton::clicked, this, &FindBar::Close);
    m_text->installEventFilter(this);
    hide();
}

void FindBar::Open() {
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
    FindAll();
    ShowMatches();
}

void FindBar::Close() {
    hide();
    m_page->setExtraSelections({});
    m_page->setFocus(Qt::OtherFocusReason);
}

QString FindBar::Text() const {
    return m_text->text();
}

void FindBar::SetText(const QString& text) {
    m_text->setText(text);
}

void FindBar::Refresh() {
    m_current = -1;
    FindAll();
    ShowMatches();
}

void FindBar::Next() {
    Go(+1);
}

void FindBar::Previous() {
    Go(-1);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Go(key->modifiers() & Qt::ShiftModifier ? -1 : +1);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::FindAll() {
    m_matches.clear();
    const QString text = m_text->text();
    if (text.isEmpty()) return;
    QTextDocument* document = m_page->document();
    QTextCursor match = document->find(text, 0);
    while (!match.isNull() && m_matches.size() < kMaxMatches) {
        m_matches << match;
        match = document->find(text, match);
    }
}

void FindBar::Go(int step) {
    if (m_matches.isEmpty()) FindAll();
    if (m_matches.isEmpty()) {
        ShowMatches();
        return;
    }
    if (m_current < 0) {
        // From the cursor: the first match after it, or before it going back.
        const int at = m_page->textCursor().selectionEnd();
        m_current = step > 0 ? 0 : int(m_matches.size()) - 1;
        for (int i = 0; i < m_matches.size(); ++i) {
            const int position = m_matches[i].selectionStart();
            if (step > 0 && position >= at) {
                m_current = i;
                break;
            }
            if (step < 0 && position < m_page->textCursor().selectionStart()) m_current = i;
        }
    } else {
        m_current = int((m_current + step + m_matches.size()) % m_matches.size());
    }
    ShowMatches();
}

void FindBar::ShowMatches() {
    QList<QTextEdit::ExtraSelection> highlights;
    QTextCharFormat all;
    all.setBackground(QColor(255, 240, 120));
    for (const QTextCursor& match : m_matches) highlights.append({match, all});
    m_page->setExtraSelections(isVisible() ? highlights : QList<QTextEdit::ExtraSelection>{});
    if (m_text->text().isEmpty()) {
        m_status->clear();
    } else if (m_matches.isEmpty()) {
        m_status->setText(QStringLiteral("Not found"));
        // Nor does an earlier match stay selected, as if it were one.
        QTextCursor cursor = m_page->textCursor();
        cursor.clearSelection();
        m_page->setTextCursor(cursor);
    } else {
        const QString total = m_matches.size() >= kMaxMatches
                                  ? QStringLiteral("%1+").arg(kMaxMatches)
                                  : QString::number(m_matches.size());
        m_status->setText(m_current < 0 ? QStringLiteral("%1 found").arg(total)
                                        : QStringLiteral("%1 of %2").arg(m_current + 1).arg(total));
        if (m_current >= 0) Centre(m_page, m_matches[m_current]);
    }
}

}  // namespace mensura
