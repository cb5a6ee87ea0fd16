#include "full_text_tips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

namespace mensura {

bool FullTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                             const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = view->style();
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
    // The style's margin on either side of the text, as it draws it.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, view) + 1;
    if (item.text.isEmpty() ||
        item.fontMetrics.horizontalAdvance(item.text) <= room.width() - 2 * margin) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(),
                       Qt::convertFromPlainText(item.text, Qt::WhiteSpaceNormal), view->viewport(),
                       option.rect);
    return true;
}

}  // namespace mensura
