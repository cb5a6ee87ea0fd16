#pragma once

#include <QLabel>

// A label as the main window draws it: plain text, an optional one-pixel
// black border, and, if asked, a width that follows its text. A label that
// sizes itself keeps either its right edge or its centre where the design
// put it, and is as wide as its design width plus the text, but no wider
// than the window leaves it: a caption that still does not fit is cut at
// its end with an ellipsis, and the whole caption goes into the tooltip,
// above the detail line the caption may come with. text() is always the
// whole caption.
class CaptionLabel : public QLabel {
public:
    enum class Sizing { Fixed, KeepRight, KeepCentre };
    CaptionLabel(Sizing sizing, bool bordered, QWidget* parent);

    // The place the label was designed for; a sizing label anchors on it.
    void SetDesignGeometry(const QRect& geometry);
    // Sets the text and, for a sizing label, the width around its anchor.
    // The detail, if any, is the tooltip's last line.
    void SetCaption(const QString& caption, const QString& detail = QString());
    // The text as drawn: the caption, or its beginning and an ellipsis.
    QString DisplayedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FitToText();

    Sizing m_sizing;
    bool m_bordered;
    QRect m_design;
    QString m_detail;
};
