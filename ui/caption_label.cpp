#include "caption_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <QtMath>

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

void CaptionLabel::SetCaption(const QString& caption, const QString& detail) {
    m_detail = detail;
    setText(caption);
    FitToText();
}

void CaptionLabel::FitToText() {
    if (m_sizing == Sizing::Fixed) {
        setToolTip(m_detail);
        return;
    }
    // The ink of the last letter may reach past its advance; room for both.
    const QFontMetricsF metrics(font());
    const int textWidth =
        qCeil(qMax(metrics.horizontalAdvance(text()), metrics.boundingRect(text()).right()));
    int width = m_design.width() + textWidth;
    int left = m_sizing == Sizing::KeepRight ? m_design.x() + m_design.width() - width
                                             // twice the design centre, to stay in whole pixels
                                             : (2 * m_design.x() + m_design.width() - width) / 2;
    if (left < 0) {  // no further than the window's left edge
        width += left;
        left = 0;
    }
    setGeometry(left, m_design.y(), width, m_design.height());
    QStringList tip;
    if (DisplayedText() != text()) tip << text();
    if (!m_detail.isEmpty()) tip << m_detail;
    setToolTip(tip.join(QLatin1Char('\n')));
}

QString CaptionLabel::DisplayedText() const {
    return QFontMetrics(font()).elidedText(text(), Qt::ElideRight, contentsRect().width());
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
