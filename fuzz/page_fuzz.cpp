// Fuzz target: any bytes as a help page. The sanitized page must keep every
// promise CheckPage reads back from its HTML, whatever the bytes, and
// sanitizing its own output must give the same page again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "page_sanitizer.h"
#include "sanitized_page_checks.h"

using namespace mensura::helpfile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SanitizedPage page = SanitizePage(bytes, "/sub/page.html");
    mensura::testsupport::CheckPage(page);
    // What the writer writes, it reads again unchanged in substance:
    // links and images are absolute by then, the title already tidied.
    if (!page.truncated) {
        const SanitizedPage again = SanitizePage(page.html, "/other/page.html");
        mensura::testsupport::CheckPage(again);
        if (again.title != page.title)
            mensura::testsupport::Fail("title changes when sanitized again", page.title);
        if (again.images != page.images)
            mensura::testsupport::Fail("images change when sanitized again", page.html);
    }
    return 0;
}
