#pragma once

// Places inside the help file as the help window addresses them: URLs of
// the "help" scheme whose path is the object's path ("help:/units.html").
#include <QString>
#include <QUrl>
#include <string>

#include "help_protocol.h"  // kHelpScheme

namespace mensura {

// A place as the reader gives it, an absolute path with perhaps a fragment
// ("/units.html#length"), as a URL of the help scheme.
QUrl PageUrl(const std::string& local);

// Whether two URLs name the same page of the file, fragments aside; the
// file's names ignore case.
bool SamePage(const QUrl& a, const QUrl& b);

}  // namespace mensura
