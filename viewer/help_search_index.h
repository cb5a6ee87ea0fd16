#pragma once

// The help window's search: the plain text of every page of a help file,
// read once, and the pages that hold every word of a query.
#include <QString>
#include <QStringList>
#include <vector>

namespace mensura {

namespace helpfile {
class ChmFile;
}

class HelpSearchIndex {
public:
    struct Hit {
        QString path;   // inside the file, "/units.html"
        QString title;  // the page's <title>, else its name in the contents
        qsizetype mentions = 0;
    };

    // The words of a query: split at blanks, none empty.
    static QStringList Words(const QString& query);

    // Reads the text of every page of the file; what was read before goes.
    // Together the pages read may take kMaxBytes; a file with more stops
    // being read there, so that a hostile one cannot stall the search.
    void Build(const helpfile::ChmFile& file);
    void Clear();
    bool IsBuilt() const { return m_built; }

    // The pages that hold every word of the query, anywhere in their text
    // and in any case, those with the most mentions first; pages of equal
    // mentions in the file's order.
    std::vector<Hit> Search(const QString& query) const;

    static constexpr qsizetype kMaxBytes = 64 * 1024 * 1024;

private:
    struct Page {
        QString path;
        QString title;
        QString text;  // case-folded
    };
    std::vector<Page> m_pages;
    bool m_built = false;
};

}  // namespace mensura
