#include "index_pane.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "help_page.h"

namespace mensura {

namespace {

constexpr int kTopicsRole = Qt::UserRole;  // a keyword's pages: titles and URLs
constexpr int kPageRole = Qt::UserRole;    // a page's URL

}  // namespace

IndexPane::IndexPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("helpIndexPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* label = new QLabel(QStringLiteral("&Type the keyword to find:"));
    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("helpIndexText"));
    m_filter->setClearButtonEnabled(true);
    label->setBuddy(m_filter);
    m_keywords = new QListWidget;
    m_keywords->setObjectName(QStringLiteral("helpIndexList"));
    m_keywords->setAccessibleName(QStringLiteral("Keywords"));
    m_topicsLabel = new QLabel;
    m_topicsLabel->setObjectName(QStringLiteral("helpIndexTopicsLabel"));
    m_topicsLabel->setWordWrap(true);
    m_topicsLabel->setTextFormat(Qt::PlainText);  // it quotes the file
    m_topics = new QListWidget;
    m_topics->setObjectName(QStringLiteral("helpIndexTopics"));
    m_topics->setAccessibleName(QStringLiteral("Pages of the keyword"));
    layout->addWidget(label);
    layout->addWidget(m_filter);
    layout->addWidget(m_keywords, 3);
    layout->addWidget(m_topicsLabel);
    layout->addWidget(m_topics, 1);
    m_topicsLabel->hide();
    m_topics->hide();

    connect(m_filter, &QLineEdit::textChanged, this, &IndexPane::Filter);
    connect(m_filter, &QLineEdit::returnPressed, this,
            [this] { Choose(m_keywords->currentItem()); });
    connect(m_keywords, &QListWidget::itemActivated, this, &IndexPane::Choose);
    connect(m_keywords, &QListWidget::itemClicked, this, &IndexPane::Choose);
    const auto showTopic = [this](QListWidgetItem* item) {
        if (item) emit PageChosen(item->data(kPageRole).toUrl());
    };
    connect(m_topics, &QListWidget::itemActivated, this, showTopic);
    connect(m_topics, &QListWidget::itemClicked, this, showTopic);
}

void IndexPane::SetIndex(const std::vector<helpfile::IndexEntry>& entries) {
    Clear();
    for (const helpfile::IndexEntry& entry : entries) {
        // Sub-keywords stand indented under their keyword.
        const QString indent(2 * std::min(entry.depth, 8), QLatin1Char(' '));
        auto* item =
            new QListWidgetItem(indent + QString::fromStdString(entry.keyword), m_keywords);
        QVariantList topics;
        for (const helpfile::IndexEntry::Topic& topic : entry.topics)
            topics.append(
                QVariant(QVariantList{QString::fromStdString(topic.title), PageUrl(topic.local)}));
        item->setData(kTopicsRole, topics);
    }
}

void IndexPane::Clear() {
    m_keywords->clear();
    m_topics->clear();
    m_topics->hide();
    m_topicsLabel->hide();
    m_filter->clear();
}

void IndexPane::Filter(const QString& text) {
    const QString wanted = text.trimmed();
    QListWidgetItem* first = nullptr;
    QListWidgetItem* starting = nullptr;
    for (int i = 0; i < m_keywords->count(); ++i) {
        QListWidgetItem* item = m_keywords->item(i);
        const QString keyword = item->text().trimmed();
        const bool shown = keyword.contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (!shown) continue;
        if (!first) first = item;
        if (!starting && keyword.startsWith(wanted, Qt::CaseInsensitive)) starting = item;
    }
    QListWidgetItem* current = starting ? starting : first;
    m_keywords->setCurrentItem(current);
    if (current) m_keywords->scrollToItem(current);
}

void IndexPane::Choose(QListWidgetItem* keyword) {
    m_topics->clear();
    m_topics->hide();
    m_topicsLabel->hide();
    if (!keyword) return;
    const QVariantList topics = keyword->data(kTopicsRole).toList();
    if (topics.size() == 1) {
        emit PageChosen(topics.first().toList().value(1).toUrl());
        return;
    }
    if (topics.isEmpty()) return;  // a heading of sub-keywords
    // Several pages: they are offered below, the first one chosen.
    for (const QVariant& topic : topics) {
        const QVariantList parts = topic.toList();
        auto* item = new QListWidgetItem(parts.value(0).toString(), m_topics);
        item->setData(kPageRole, parts.value(1).toUrl());
    }
    m_topicsLabel->setText(QStringLiteral("%1 pages for \"%2\"; choose one:")
                               .arg(topics.size())
                               .arg(keyword->text().trimmed()));
    m_topicsLabel->show();
    m_topics->show();
    m_topics->setCurrentRow(0);
    m_topics->setFocus(Qt::OtherFocusReason);
}

}  // namespace mensura
