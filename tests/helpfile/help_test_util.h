#pragma once
// Reading the compiled help file and writing damaged copies of it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace mensura::helpfile::testing {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline const std::string& CompiledHelp() {
    static const std::string bytes = ReadFile(MENSURA_HELP_FILE);
    return bytes;
}

// A file in the temporary folder, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& bytes) {
        char name[] = "/tmp/mensura-help-XXXXXX";
        const int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        m_path = name;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        close(fd);
    }
    ~TempFile() { unlink(m_path.c_str()); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace mensura::helpfile::testing
