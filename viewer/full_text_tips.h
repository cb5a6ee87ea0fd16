#pragma once

// Item views whose items' texts may be cut off: an item whose text the view
// elides shows its whole text as its tooltip, as plain text; one shown
// whole shows none.
#include <QStyledItemDelegate>

namespace mensura {

class FullTextTips : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace mensura
