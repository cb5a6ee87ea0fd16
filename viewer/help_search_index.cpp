#include "help_search_index.h"

#include <QHash>
#include <algorithm>

#include "chm_file.h"
#include "help_page.h"
#include "page_sanitizer.h"

namespace mensura {

QStringList HelpSearchIndex::Words(const QString& query) {
    return query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void HelpSearchIndex::Clear() {
    m_pages.clear();
    m_built = false;
}

void HelpSearchIndex::Build(const helpfile::ChmFile& file) {
    Clear();
    m_built = true;
    // A page's name in the contents, for pages without a <title>.
    QHash<QString, QString> contentsNames;
    for (const helpfile::ContentsEntry& entry : file.Contents()) {
        const QString path = PageUrl(entry.local).path().toLower();
        if (!entry.local.empty() && !contentsNames.contains(path))
            contentsNames.insert(path, QString::fromStdString(entry.name));
    }
    qsizetype budget = kMaxBytes;
    for (const std::string& page : file.Pages()) {
        const std::optional<std::string> object = file.Object(page);
        if (!object) continue;
        if (static_cast<qsizetype>(object->size()) > budget) break;
        budget -= static_cast<qsizetype>(object->size());
        // The text the sanitized page shows, and its title, as plain text.
        const helpfile::SanitizedPage sanitized = helpfile::SanitizePage(*object, page);
        Page text;
        text.path = QString::fromStdString(page);
        text.title = QString::fromStdString(sanitized.title);
        if (text.title.isEmpty()) text.title = contentsNames.value(text.path.toLower());
        if (text.title.isEmpty()) text.title = text.path.mid(1);
        text.text = QString::fromStdString(sanitized.text).toCaseFolded();
        m_pages.push_back(std::move(text));
    }
}

std::vector<HelpSearchIndex::Hit> HelpSearchIndex::Search(const QString& query) const {
    QStringList words = Words(query);
    for (QString& word : words) word = word.toCaseFolded();
    std::vector<Hit> hits;
    if (words.isEmpty()) return hits;
    for (const Page& page : m_pages) {
        qsizetype mentions = 0;
        for (const QString& word : words) {
            const qsizetype count = page.text.count(word);
            if (count == 0) {
                mentions = 0;
                break;
            }
            mentions += count;
        }
        if (mentions > 0) hits.push_back({page.path, page.title, mentions});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const Hit& a, const Hit& b) { return a.mentions > b.mentions; });
    return hits;
}

}  // namespace mensura
