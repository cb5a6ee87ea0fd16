#pragma once

// A caption of Mensura's windows: a label that draws plain text, never
// clipped, and sizes itself to it by the one rule both windows follow.
#include <QLabel>
#include <functional>

namespace mensura {

// A label as Mensura's windows draw it: plain text, an optional one-pixel
// black border, and, if asked, a width that follows its text. A label that
// sizes itself keeps its left edge, its right edge or its centre where the
// design put it, and is as wide as its design width (its width without
// text: the border and the air beside it) plus the ink and advance of the
// text, but no wider than the window leaves it: a caption that still does
// not fit is cut at its end with an ellipsis, and the whole caption goes
// into the tooltip, above the detail line the label may have. Its height is
// the design's. text() is always the whole caption. Q_OBJECT gives it a type
// of its own for qobject_cast and findChild, which otherwise take any QLabel
// for one.
class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    enum class Sizing { Fixed, KeepLeft, KeepRight, KeepCentre };
    CaptionLabel(Sizing sizing, bool bordered, QWidget* parent);

    // The place the label was designed for, without its text; a sizing
    // label anchors on it.
    void SetDesignGeometry(const QRect& geometry);
    // Sets the text and, for a sizing label, the width around its anchor.
    void SetCaption(const QString& caption);
    // Where the tooltip's last line comes from; asked only when a tooltip is
    // about to show, so that writing a caption costs nothing for it.
    void SetDetail(std::function<QString()> detail) { m_detail = std::move(detail); }
    // The tooltip: the whole caption if it is shown cut, then the detail.
    // Empty when there is nothing to add to what the label shows.
    QString ToolTipText() const;
    // The text as drawn: the caption, or its beginning and an ellipsis.
    QString DisplayedText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FitToText();
    void ShowIn(int room, qreal textWidth) const;

    Sizing m_sizing;
    bool m_bordered;
    QRect m_design;
    std::function<QString()> m_detail;
    // The displayed text, worked out once per caption and room: measuring
    // and eliding lay the text out afresh each time.
    mutable QString m_shown;
    mutable QString m_shownFrom;
    mutable int m_shownRoom = -1;
};

}  // namespace mensura
