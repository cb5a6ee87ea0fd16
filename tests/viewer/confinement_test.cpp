// The viewer's confinement, applied in a child process: what it may still
// read, and everything else it is refused.
#include "confinement.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mensura::viewer {
namespace {

namespace fs = std::filesystem;

struct Attempt {
    const char* what;
    std::string path;
    int flags;
    bool allowed;
};

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

// How many of the attempts went otherwise than they should, each told on
// standard error; a refusal is EACCES.
int FailedAttempts(const std::vector<Attempt>& attempts) {
    int failed = 0;
    for (const Attempt& a : attempts) {
        const int fd = open(a.path.c_str(), a.flags | O_CLOEXEC, 0600);
        const bool opened = fd >= 0;
        const int error = errno;
        if (fd >= 0) close(fd);
        if (opened == a.allowed && (opened || error == EACCES)) continue;
        std::fprintf(stderr, "%s: %s\n", a.what, opened ? "opened" : std::strerror(error));
        ++failed;
    }
    return failed;
}

// Runs `body` in a child; its exit status is the number of failed checks,
// each told on standard error.
int InChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

class ConfinementTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/mensura-confine-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        fs::create_directories(m_root / "system");
        fs::create_directories(m_root / "home");
        Write(m_root / "system/library", "code");
        Write(m_root / "home/MnsHlp.chm", "help");
        Write(m_root / "home/secret.txt", "secret");
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path m_root;
};

TEST_F(ConfinementTest, OnlyTheNamedPlacesAndTheHelpFileStayReadable) {
    const std::vector<Attempt> attempts = {
        {"a file below a readable folder", m_root / "system/library", O_RDONLY, true},
        {"the help file", m_root / "home/MnsHlp.chm", O_RDONLY, true},
        {"a file beside the help file", m_root / "home/secret.txt", O_RDONLY, false},
        {"the folder of the help file", m_root / "home", O_RDONLY | O_DIRECTORY, false},
        {"a system file not named", "/etc/passwd", O_RDONLY, false},
        {"writing the help file", m_root / "home/MnsHlp.chm", O_WRONLY, false},
        {"writing below a readable folder", m_root / "system/library", O_WRONLY, false},
        {"a new file below a readable folder", m_root / "system/new", O_WRONLY | O_CREAT, false},
        {"a new file in /tmp", "/tmp/mensura-confine-new", O_WRONLY | O_CREAT, false},
    };
    const int failures = InChild([&] {
        const int helpFile = open((m_root / "home/MnsHlp.chm").c_str(), O_RDONLY | O_CLOEXEC);
        ConfinementRules rules;
        rules.readable = {(m_root / "system").string(), "/does/not/exist"};
        rules.readableFiles = {helpFile};
        rules.reach = ConfinementRules::Reach::Display;  // as the viewer
        const ConfinementReport report = Confine(rules);
        close(helpFile);
        if (report.landlockAbi == 0) return 77;  // no Landlock in this kernel
        int failed = report.files && report.sockets ? 0 : 1;
        if (failed) std::fprintf(stderr, "confined: %s\n", report.Describe().c_str());
        failed += FailedAttempts(attempts);
        // Only local sockets.
        const int local = socket(AF_UNIX, SOCK_STREAM, 0);
        const int internet = socket(AF_INET, SOCK_STREAM, 0);
        const int internet6 = socket(AF_INET6, SOCK_DGRAM, 0);
        if (local < 0 || internet >= 0 || internet6 >= 0) {
            std::fprintf(stderr, "sockets: local %d, IPv4 %d, IPv6 %d\n", local, internet,
                         internet6);
            ++failed;
        }
        return failed;
    });
    if (failures == 77) GTEST_SKIP() << "the kernel offers no Landlock";
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(fs::exists("/tmp/mensura-confine-new"));
}

// The desktop's theme and font settings stay readable, as the places Qt
// reads name them, in the user's configuration folder: qt6ct's settings and
// colour schemes (and one its settings choose elsewhere), GTK's and KDE's
// settings, fontconfig's. Nothing else there, nor in the home folder, and
// none of them can be written.
TEST_F(ConfinementTest, TheDesktopsThemeSettingsAndNothingElse) {
    const fs::path config = m_root / "home/.config";
    const fs::path chosen = m_root / "schemes/night.conf";
    for (const char* folder : {"qt6ct/colors", "gtk-3.0", "gtk-4.0", "fontconfig", "kde"})
        fs::create_directories(config / folder);
    fs::create_directories(chosen.parent_path());
    Write(config / "qt6ct/qt6ct.conf", "[Appearance]\ncolor_scheme_path=" + chosen.string() + "\n");
    for (const fs::path& file :
         {config / "qt6ct/colors/dusk.conf", chosen, m_root / "schemes/other.conf",
          config / "gtk-3.0/settings.ini", config / "gtk-3.0/bookmarks",
          config / "gtk-4.0/settings.ini", config / "kdeglobals", config / "kde/kdeglobals",
          config / "fontconfig/fonts.conf", config / "secrets.conf", m_root / "home/.bashrc"})
        Write(file, "[Settings]\n");
    const std::vector<Attempt> attempts = {
        {"qt6ct's settings", config / "qt6ct/qt6ct.conf", O_RDONLY, true},
        {"qt6ct's colour schemes", config / "qt6ct/colors/dusk.conf", O_RDONLY, true},
        {"the colour scheme qt6ct chooses", chosen, O_RDONLY, true},
        {"a file beside that scheme", m_root / "schemes/other.conf", O_RDONLY, false},
        {"GTK 3's settings", config / "gtk-3.0/settings.ini", O_RDONLY, true},
        {"GTK 4's settings", config / "gtk-4.0/settings.ini", O_RDONLY, true},
        {"KDE's settings", config / "kdeglobals", O_RDONLY, true},
        {"fontconfig's settings", config / "fontconfig/fonts.conf", O_RDONLY, true},
        {"GTK's bookmarks", config / "gtk-3.0/bookmarks", O_RDONLY, false},
        {"a file named kdeglobals deeper down", config / "kde/kdeglobals", O_RDONLY, false},
        {"another file in the configuration folder", config / "secrets.conf", O_RDONLY, false},
        {"the configuration folder itself", config, O_RDONLY | O_DIRECTORY, false},
        {"a file of the home folder", m_root / "home/.bashrc", O_RDONLY, false},
        {"writing qt6ct's settings", config / "qt6ct/qt6ct.conf", O_WRONLY, false},
        {"writing GTK's settings", config / "gtk-3.0/settings.ini", O_WRONLY, false},
        {"writing KDE's settings", config / "kdeglobals", O_WRONLY, false},
        {"a new colour scheme", config / "qt6ct/colors/new.conf", O_WRONLY | O_CREAT, false},
    };
    const int failures = InChild([&] {
        setenv("HOME", (m_root / "home").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        ConfinementRules rules;
        rules.readable = PlacesQtReads();
        rules.reach = ConfinementRules::Reach::Display;
        if (Confine(rules).landlockAbi == 0) return 77;
        return FailedAttempts(attempts);
    });
    if (failures == 77) GTEST_SKIP() << "the kernel offers no Landlock";
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(fs::exists(config / "qt6ct/colors/new.conf"));
}

// A local socket listening outside the confinement: at a path, like the
// session bus's, or by an abstract name, like X11's display.
class Listener {
public:
    explicit Listener(const std::string& name, bool abstract) {
        m_fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        m_address.sun_family = AF_UNIX;
        std::strncpy(m_address.sun_path + (abstract ? 1 : 0), name.c_str(),
                     sizeof m_address.sun_path - 2);
        m_length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + (abstract ? 1 : 0) +
                                          name.size());
        const bool listening =
            bind(m_fd, reinterpret_cast<const sockaddr*>(&m_address), m_length) == 0 &&
            listen(m_fd, 8) == 0;
        if (!listening) m_fd = -1;
    }
    ~Listener() {
        if (m_fd >= 0) close(m_fd);
    }
    bool Listening() const { return m_fd >= 0; }

    // Connects a new socket to it; 0, or the error.
    int Connect() const {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return errno;
        const int result = connect(fd, reinterpret_cast<const sockaddr*>(&m_address), m_length);
        const int error = errno;
        close(fd);
        return result == 0 ? 0 : error;
    }

private:
    int m_fd = -1;
    sockaddr_un m_address{};
    socklen_t m_length = 0;
};

// What a confined process can still reach of other programs, as the viewer
// (before and after it has sealed its connections) and the print steps are
// confined: sockets by path and by abstract name, a new socket, another
// program, a signal to the process that started it.
TEST_F(ConfinementTest, OtherProgramsOutOfReach) {
    using Reach = ConfinementRules::Reach;
    struct Row {
        const char* what;
        Reach reach;
        bool sealed;
        bool pathSocket;      // reached: the session bus's stand-in
        bool abstractSocket;  // and the display's
    };
    const std::vector<Row> rows = {
        {"the viewer, reaching its display", Reach::Display, false, true, true},
        {"the viewer once it shows its window", Reach::Display, true, false, false},
        {"a print job for a printer", Reach::Paths, false, true, false},
        {"a print job for a PDF file", Reach::Nothing, false, false, false},
    };
    const Listener bus((m_root / "bus").string(), false);
    const Listener display("mensura-confine-" + std::to_string(getpid()), true);
    ASSERT_TRUE(bus.Listening() && display.Listening());
    for (const Row& row : rows) {
        const int failures = InChild([&] {
            ConfinementRules rules;
            rules.reach = row.reach;
            ConfinementReport report = Confine(rules);
            if (report.landlockAbi < 6) return 77;  // no scopes in this kernel
            if (row.sealed) SealConnections(report);
            int failed = 0;
            const auto check = [&failed](const char* what, int error, bool allowed) {
                if ((error == 0) == allowed) return;
                std::fprintf(stderr, "%s: %s\n", what, error ? std::strerror(error) : "reached");
                ++failed;
            };
            check("the session bus", bus.Connect(), row.pathSocket);
            check("the display", display.Connect(), row.abstractSocket);
            // Returns only when refused; /bin/false would end the child
            // with a failure.
            char* const argv[] = {const_cast<char*>("/bin/false"), nullptr};
            execv("/bin/false", argv);
            check("another program", errno, false);
            check("a signal to the process that started it", kill(getppid(), 0) == 0 ? 0 : errno,
                  false);
            check("a signal to itself", kill(getpid(), 0) == 0 ? 0 : errno, true);
            if (failed) std::fprintf(stderr, "(%s: %s)\n", row.what, report.Describe().c_str());
            return failed;
        });
        if (failures == 77) GTEST_SKIP() << "the kernel's Landlock has no scopes";
        EXPECT_EQ(failures, 0) << row.what;
    }
}

TEST_F(ConfinementTest, TheAddressSpaceStopsGrowingAtItsHeadroom) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more than any limit";
#endif
    const int failures = InChild([] {
        if (!LimitAddressSpace(std::size_t{64} << 20)) return 1;
        void* small = std::malloc(std::size_t{16} << 20);
        void* large = std::malloc(std::size_t{256} << 20);
        const int failed = (small ? 0 : 1) + (large ? 1 : 0);
        std::free(small);
        std::free(large);
        return failed;
    });
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace mensura::viewer
