#pragma once

// The Index tab: the help file's keywords in a list, a field above it that
// narrows the list to the keywords holding what is typed (and selects the
// first that starts with it), and, for a keyword with several pages, the
// list of those pages to choose from.
#include <QUrl>
#include <QWidget>
#include <vector>

#include "sitemap.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace mensura {

class IndexPane : public QWidget {
    Q_OBJECT

public:
    explicit IndexPane(QWidget* parent = nullptr);

    void SetIndex(const std::vector<helpfile::IndexEntry>& entries);
    void Clear();

signals:
    // A page was chosen, by its keyword or from the keyword's pages.
    void PageChosen(const QUrl& page);

private:
    void Filter(const QString& text);
    void Choose(QListWidgetItem* keyword);

    QLineEdit* m_filter = nullptr;
    QListWidget* m_keywords = nullptr;
    QLabel* m_topicsLabel = nullptr;
    QListWidget* m_topics = nullptr;
};

}  // namespace mensura
