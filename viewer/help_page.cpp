#include "help_page.h"

namespace mensura {

QUrl PageUrl(const std::string& local) {
    const QString text = QString::fromStdString(local);
    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(kHelpScheme);
    url.setPath(hash < 0 ? text : text.left(hash), QUrl::DecodedMode);
    if (hash >= 0) url.setFragment(text.mid(hash + 1), QUrl::DecodedMode);
    return url;
}

bool SamePage(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() && a.path().compare(b.path(), Qt::CaseInsensitive) == 0;
}

}  // namespace mensura
