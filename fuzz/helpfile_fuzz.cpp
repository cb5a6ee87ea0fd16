// Fuzz target: any bytes as a help file. The reader must refuse them or
// answer within its promises: every object it returns is at most
// kMaxObjectSize bytes, every page, contents line and default topic is a
// clean absolute path inside the file, and nothing crashes or hangs.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "chm_file.h"
#include "help_file_checks.h"

using namespace mensura::helpfile;
using mensura::testsupport::CheckContents;
using mensura::testsupport::CheckIndex;
using mensura::testsupport::Fail;
using mensura::testsupport::IsCleanPath;

namespace {

void CheckObject(const ChmFile& file, const std::string& path) {
    const auto bytes = file.Object(path);
    if (bytes && bytes->size() > kMaxObjectSize) Fail("object over the cap", path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes become a file in memory; the reader opens it by name.
    const int fd = memfd_create("helpfile-fuzz", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    if (const auto file = ChmFile::Open(path)) {
        const std::string topic = file->DefaultTopic();
        if (!topic.empty() && !IsCleanPath(topic)) Fail("default topic", topic);
        if (!topic.empty()) CheckObject(*file, topic.substr(0, topic.find('#')));

        CheckContents(file->Contents());
        CheckIndex(file->Index());
        const auto pages = file->Pages();
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (!IsCleanPath(pages[i])) Fail("page", pages[i]);
            if (i > 0 && !(pages[i - 1] < pages[i])) Fail("pages not sorted", pages[i]);
            CheckObject(*file, pages[i]);
        }
        for (const char* special : {"/#SYSTEM", "/#WINDOWS", "/$OBJINST", "/#IDXHDR"})
            CheckObject(*file, special);
        (void)file->Title();
    }
    close(fd);
    return 0;
}
