// A caption of Mensura's windows: its one sizing rule, its ellipsis and
// tooltip, and its drawing.
#include "caption_label.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QStringList>
#include <QToolTip>
#include <QtMath>
#include <algorithm>

namespace mensura {

CaptionLabel::CaptionLabel(Sizing sizing, bool bordered, QWidget* parent)
    : QLabel(parent), m_sizing(sizing), m_bordered(bordered) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    // The border's pixel, and two of air beside the text.
    if (m_bordered) setContentsMargins(3, 1, 3, 1);
}

void CaptionLabel::SetDesignGeometry(const QRect& geometry) {
    m_design = geometry;
    setGeometry(geometry);
    FitToText();
}

void CaptionLabel::SetCaption(const QString& caption) {
    // Same caption, same width: nothing to redo.
    if (caption == text()) return;
    setText(caption);
    FitToText();
}

QString CaptionLabel::ToolTipText() const {
    QStringList lines;
    if (DisplayedText() != text()) lines << text();
    if (m_detail) {
        const QString detail = m_detail();
        if (!detail.isEmpty()) lines << detail;
    }
    return lines.join(QLatin1Char('\n'));
}

bool CaptionLabel::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QLabel::event(event);
    const QString tip = ToolTipText();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
    }
    return true;
}

namespace {

// Where the ink of a text of this advance ends. The last letter's ink may
// reach past its advance (a "Y", an italic), so a label makes room for both.
// For Latin-1 text, all in the label's own font, that is the advance plus
// what the last letter's ink adds to its own; asking for the whole text's
// ink would shape the text a second time on every keystroke. Other text may
// draw letters from a fallback font, whose ink only the whole text tells.
qreal InkRight(const QFontMetricsF& metrics, const QString& text, qreal advance) {
    if (text.isEmpty()) return 0;
    const bool latin1 =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
    if (!latin1) return metrics.boundingRect(text).right();
    const QChar last = text.back();
    return advance + metrics.boundingRect(last).right() - metrics.horizontalAdvance(last);
}

}  // namespace

void CaptionLabel::FitToText() {
    if (m_sizing == Sizing::Fixed) return;
    const QFontMetricsF metrics(font());
    const qreal exactWidth = metrics.horizontalAdvance(text());
    const int textWidth = qCeil(qMax(exactWidth, InkRight(metrics, text(), exactWidth)));
    int width = m_design.width() + textWidth;
    int left = m_design.x();
    if (m_sizing == Sizing::KeepRight)
        left = m_design.x() + m_design.width() - width;
    else if (m_sizing == Sizing::KeepCentre)
        left = (2 * m_design.x() + m_design.width() - width) / 2;  // twice the centre: whole pixels
    if (left < 0) {  // no further than the window's left edge
        width += left;
        left = 0;
    }
    setGeometry(left, m_design.y(), width, m_design.height());
    ShowIn(contentsRect().width(), exactWidth);
}

void CaptionLabel::ShowIn(int room, qreal textWidth) const {
    m_shownFrom = text();
    m_shownRoom = room;
    m_shown = textWidth <= room
                  ? m_shownFrom
                  : QFontMetrics(font()).elidedText(m_shownFrom, Qt::ElideRight, room);
}

QString CaptionLabel::DisplayedText() const {
    const int room = contentsRect().width();
    if (room != m_shownRoom || text() != m_shownFrom)
        ShowIn(room, QFontMetricsF(font()).horizontalAdvance(text()));
    return m_shown;
}

void CaptionLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) m_shownRoom = -1;
    QLabel::changeEvent(event);
}

void CaptionLabel::paintEvent(QPaintEvent*) {
    // QLabel would clip a caption too wide for it, which for a number shows
    // a different number; draw it with the ellipsis instead.
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), static_cast<int>(alignment()), DisplayedText());
    if (m_bordered) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace mensura
