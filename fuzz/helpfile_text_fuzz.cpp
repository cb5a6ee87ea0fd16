// Fuzz target: any text as a sitemap, as a link with a page to resolve it
// against, and as #SYSTEM data. Every result is bounded and every path a
// clean absolute path inside the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "chm_path.h"
#include "chm_system.h"
#include "help_file_checks.h"
#include "sitemap.h"

using namespace mensura::helpfile;
using mensura::testsupport::CheckContents;
using mensura::testsupport::CheckIndex;
using mensura::testsupport::Fail;
using mensura::testsupport::IsCleanPath;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // First line: a link; second line: the page it was found on.
    const std::size_t newline = text.find('\n');
    const std::string_view link = text.substr(0, newline);
    const std::string base = newline == std::string_view::npos
                                 ? "/"
                                 : ResolvePath(text.substr(newline + 1, 600)).value_or("/");
    if (const auto resolved = ResolvePath(link, base); resolved && !IsCleanPath(*resolved))
        Fail("resolved link", *resolved);

    CheckContents(ParseSitemap(text, base));
    CheckIndex(ParseIndex(text, base));

    if (const auto system = ParseSystem(text)) {
        for (const std::string* s :
             {&system->contentsFile, &system->indexFile, &system->defaultTopic, &system->title})
            if (s->size() > kMaxPathLength || s->find('\0') != std::string::npos)
                Fail("#SYSTEM string", *s);
    }
    return 0;
}
