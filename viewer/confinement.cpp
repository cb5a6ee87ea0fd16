#include "confinement.h"

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace mensura::viewer {

namespace {

// Landlock's interface, written out so that it builds against the older
// kernel headers of some systems; the values are the kernel's ABI.
constexpr std::uint64_t kExecute = 1ULL << 0;
constexpr std::uint64_t kReadFile = 1ULL << 2;
constexpr std::uint64_t kReadDir = 1ULL << 3;
constexpr std::uint64_t kRead = kExecute | kReadFile | kReadDir;
constexpr std::uint64_t kWriteFile = 1ULL << 1;
constexpr std::uint64_t kRemoveFile = 1ULL << 5;
constexpr std::uint64_t kMakeRegular = 1ULL << 8;
constexpr std::uint64_t kTruncate = 1ULL << 14;  // ABI 3
// Every file-system right of each ABI version: 1 knows the first 13, 2 adds
// REFER, 3 TRUNCATE, 5 IOCTL_DEV.
std::uint64_t HandledFileRights(int abi) {
    std::uint64_t rights = (1ULL << 13) - 1;
    if (abi >= 2) rights |= 1ULL << 13;
    if (abi >= 3) rights |= 1ULL << 14;
    if (abi >= 5) rights |= 1ULL << 15;
    return rights;
}
constexpr std::uint64_t kBindTcp = 1ULL << 0;
constexpr std::uint64_t kConnectTcp = 1ULL << 1;
constexpr std::uint64_t kScopeAbstractUnixSocket = 1ULL << 0;  // ABI 6
constexpr std::uint64_t kScopeSignal = 1ULL << 1;              // ABI 6
constexpr std::uint32_t kCreateRulesetVersion = 1U << 0;
constexpr int kRulePathBeneath = 1;

struct RulesetAttr {
    std::uint64_t handledAccessFs;
    std::uint64_t handledAccessNet;  // ABI 4
    std::uint64_t scoped;            // ABI 6
};

struct PathBeneathAttr {
    std::uint64_t allowedAccess;
    std::int32_t parentFd;
} __attribute__((packed));

long CreateRuleset(const RulesetAttr* attr, std::size_t size, std::uint32_t flags) {
    return syscall(__NR_landlock_create_ruleset, attr, size, flags);
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool IsDirectory(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
}

bool Allow(int ruleset, int fd, std::uint64_t rights) {
    PathBeneathAttr rule{rights, fd};
    return syscall(__NR_landlock_add_rule, ruleset, kRulePathBeneath, &rule, 0) == 0;
}

bool AllowRead(int ruleset, int fd) {
    // A file takes only the rights that apply to files.
    return Allow(ruleset, fd, IsDirectory(fd) ? kRead : kExecute | kReadFile);
}

void RestrictFiles(const ConfinementRules& rules, ConfinementReport& report) {
    const long abi = CreateRuleset(nullptr, 0, kCreateRulesetVersion);
    if (abi < 1) {
        report.problem = "the kernel offers no Landlock";
        return;
    }
    report.landlockAbi = static_cast<int>(abi);
    RulesetAttr attr{HandledFileRights(report.landlockAbi), 0, 0};
    std::size_t size = sizeof attr.handledAccessFs;
    if (abi >= 4) {
        attr.handledAccessNet = kBindTcp | kConnectTcp;
        size += sizeof attr.handledAccessNet;
    }
    if (abi >= 6) {
        // X11's display socket is an abstract one, made outside: a process
        // that is still to reach it keeps abstract sockets until it seals
        // its connections.
        attr.scoped = kScopeSignal;
        if (rules.reach != ConfinementRules::Reach::Display)
            attr.scoped |= kScopeAbstractUnixSocket;
        size += sizeof attr.scoped;
    }
    const Fd ruleset(static_cast<int>(CreateRuleset(&attr, size, 0)));
    if (ruleset.get() < 0) {
        report.problem = std::string("Landlock refused the rules: ") + std::strerror(errno);
        return;
    }
    for (const std::string& path : rules.readable) {
        const Fd fd(open(path.c_str(), O_PATH | O_CLOEXEC));
        if (fd.get() >= 0) AllowRead(ruleset.get(), fd.get());
    }
    for (const int fd : rules.readableFiles) AllowRead(ruleset.get(), fd);
    const std::uint64_t truncate = report.landlockAbi >= 3 ? kTruncate : 0;
    for (const std::string& path : rules.writable) {
        const Fd fd(open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (fd.get() < 0) continue;
        Allow(ruleset.get(), fd.get(),
              kReadFile | kWriteFile | truncate | kReadDir | kRemoveFile | kMakeRegular);
    }
    if (syscall(__NR_landlock_restrict_self, ruleset.get(), 0) != 0) {
        report.problem = std::string("Landlock could not be applied: ") + std::strerror(errno);
        return;
    }
    report.files = true;
    report.tcp = abi >= 4;
    report.signalScope = abi >= 6;
    report.abstractScope = (attr.scoped & kScopeAbstractUnixSocket) != 0;
    if (abi < 6)
        report.problem = "this kernel's Landlock (" + std::to_string(abi) +
                         ") cannot keep signals and abstract sockets in";
}

// Seccomp filters, built of a few kinds of rule. A call refused fails with
// EACCES; a call of another processor's calling convention (i386's or
// x32's on x86-64, which number their calls differently) is refused whole.
class Filter {
public:
    Filter() {
#if defined(__x86_64__)
        constexpr std::uint32_t kArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
        constexpr std::uint32_t kArch = AUDIT_ARCH_AARCH64;
#else
        m_supported = false;
        constexpr std::uint32_t kArch = 0;
#endif
        Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)));
        Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArch, 1, 0));
        Add(BPF_STMT(BPF_RET | BPF_K, kDeny));
        Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
#if defined(__x86_64__)
        Add(BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, 0x40000000U /* x32 */, 0, 1));
        Add(BPF_STMT(BPF_RET | BPF_K, kDeny));
#endif
    }

    // The call is refused.
    void Refuse(long call) {
        Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(call), 0, 1));
        Add(BPF_STMT(BPF_RET | BPF_K, kDeny));
    }

    // The call is refused unless its first argument is `allowed`.
    void RefuseUnless(long call, std::uint32_t allowed) {
        Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(call), 0, 4));
        Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])));
        Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, allowed, 0, 1));
        Add(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        Add(BPF_STMT(BPF_RET | BPF_K, kDeny));
    }

    // Applies it to every thread, for good; what failed is said in problem.
    bool Apply(std::string& problem) {
        if (!m_supported) {
            problem = "no seccomp filter for this processor";
            return false;
        }
        Add(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        const sock_fprog program{static_cast<unsigned short>(m_program.size()), m_program.data()};
        if (syscall(__NR_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_TSYNC, &program) !=
            0) {
            problem = std::string("a seccomp filter could not be applied: ") + std::strerror(errno);
            return false;
        }
        return true;
    }

private:
    static constexpr std::uint32_t kDeny = SECCOMP_RET_ERRNO | (EACCES & SECCOMP_RET_DATA);

    void Add(sock_filter instruction) {
        m_program.push_back(instruction);
    }

    std::vector<sock_filter> m_program;
    bool m_supported = true;
};

// No new socket, and no connection of any socket to anything.
void RefuseConnections(Filter& filter) {
    filter.Refuse(__NR_socket);
    filter.Refuse(__NR_connect);
}

// Local sockets only (no socket of another family, which io_uring could
// also make), and no other program.
void RestrictCalls(const ConfinementRules& rules, ConfinementReport& report) {
    Filter filter;
    filter.Refuse(__NR_io_uring_setup);
    filter.Refuse(__NR_execve);
    filter.Refuse(__NR_execveat);
    if (rules.reach == ConfinementRules::Reach::Nothing) RefuseConnections(filter);
    filter.RefuseUnless(__NR_socket, AF_UNIX);
    filter.RefuseUnless(__NR_socketpair, AF_UNIX);
    std::string problem;
    if (!filter.Apply(problem)) {
        report.problem += (report.problem.empty() ? "" : "; ") + problem;
        return;
    }
    report.sockets = true;
    report.programs = true;
    report.connections = rules.reach == ConfinementRules::Reach::Nothing;
}

// The size of the address space now, from /proc/self/statm (in pages).
std::size_t AddressSpaceNow() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The colour scheme qt6ct's settings name, when it is a scheme file
// (".conf") given by its absolute path; empty else.
std::string Qt6ctColourScheme(const std::string& settings) {
    std::ifstream in(settings);
    const std::string key = "color_scheme_path=";
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') section = line;
        if (section != "[Appearance]" || line.compare(0, key.size(), key) != 0) continue;
        const std::string path = line.substr(key.size());
        const bool scheme = path.size() > 5 && path.compare(path.size() - 5, 5, ".conf") == 0;
        return scheme && path.front() == '/' ? path : std::string();
    }
    return {};
}

// The desktop's theme and font settings, to be read and never written:
// qt6ct's folder (its settings, colour schemes and style sheets) and the
// colour scheme its settings choose, GTK's settings.ini, KDE's kdeglobals
// and fontconfig's user configuration, in the user's configuration folder
// and in each of the system's. Each is named on its own: nothing else of
// the home folder becomes readable.
void AddDesktopSettings(std::vector<std::string>& places, const std::string& home,
                        const std::string& config, const std::string& data) {
    std::vector<std::string> bases{config};
    const std::string dirs = Env("XDG_CONFIG_DIRS").empty() ? "/etc/xdg" : Env("XDG_CONFIG_DIRS");
    for (std::size_t from = 0; from <= dirs.size();) {
        const std::size_t to = std::min(dirs.find(':', from), dirs.size());
        if (to > from && dirs[from] == '/') bases.push_back(dirs.substr(from, to - from));
        from = to + 1;
    }
    for (const std::string& base : bases)
        for (const char* name : {"/qt6ct", "/gtk-3.0/settings.ini", "/gtk-4.0/settings.ini",
                                 "/kdeglobals", "/fontconfig"})
            places.push_back(base + name);
    places.push_back(data + "/qt6ct");
    places.push_back(home + "/.fonts.conf");
    const std::string scheme = Qt6ctColourScheme(config + "/qt6ct/qt6ct.conf");
    if (!scheme.empty()) places.push_back(scheme);
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
const std::size_t kAddressSpaceHeadroom = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const std::size_t kAddressSpaceHeadroom = 0;
#else
const std::size_t kAddressSpaceHeadroom = std::size_t{1} << 30;
#endif
#else
const std::size_t kAddressSpaceHeadroom = std::size_t{1} << 30;
#endif

std::vector<std::string> PlacesQtReads() {
    std::vector<std::string> places{
        "/usr",           "/lib",
        "/lib64",         "/etc/fonts",
        "/etc/xdg",       "/etc/ld.so.cache",
        "/etc/localtime", "/var/cache/fontconfig",
        "/proc/self",     "/dev/null",
        "/dev/urandom",   "/sys/devices/system/cpu",
    };
    const std::string home = Env("HOME");
    const std::string cache =
        Env("XDG_CACHE_HOME").empty() ? home + "/.cache" : Env("XDG_CACHE_HOME");
    const std::string config =
        Env("XDG_CONFIG_HOME").empty() ? home + "/.config" : Env("XDG_CONFIG_HOME");
    const std::string data =
        Env("XDG_DATA_HOME").empty() ? home + "/.local/share" : Env("XDG_DATA_HOME");
    for (const std::string& place : {cache + "/fontconfig", data + "/fonts", data + "/icons",
                                     home + "/.fonts", home + "/.icons"})
        places.push_back(place);
    AddDesktopSettings(places, home, config, data);
    places.push_back(Env("XAUTHORITY").empty() ? home + "/.Xauthority" : Env("XAUTHORITY"));
    if (!Env("ICEAUTHORITY").empty()) places.push_back(Env("ICEAUTHORITY"));
    return places;
}

std::string ConfinementReport::Describe() const {
    std::string parts;
    const auto add = [&parts](bool on, const char* what) {
        if (!on) return;
        if (!parts.empty()) parts += ", ";
        parts += what;
    };
    add(files, "files");
    add(tcp, "TCP");
    add(sockets, "sockets");
    add(programs, "programs");
    add(signalScope, "signals");
    add(abstractScope || connections, "abstract sockets");
    add(connections, "connections");
    std::string text = parts.empty() ? std::string("nothing") : parts;
    if (landlockAbi > 0) text += " (Landlock " + std::to_string(landlockAbi) + ")";
    if (!problem.empty()) text += "; " + problem;
    return text;
}

std::vector<int> OpenRegularFiles(const std::vector<std::string>& paths) {
    std::vector<int> fds;
    for (const std::string& path : paths) {
        if (path.find('\0') != std::string::npos) continue;  // no file has such a name
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) continue;
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            fds.push_back(fd);
        else
            close(fd);
    }
    return fds;
}

ConfinementReport Confine(const ConfinementRules& rules) {
    ConfinementReport report;
    // Both Landlock and an unprivileged seccomp filter require that the
    // process can never gain privileges again (no set-user-id programs).
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
        report.problem = "no_new_privs could not be set";
        return report;
    }
    RestrictFiles(rules, report);
    RestrictCalls(rules, report);
    return report;
}

void SealConnections(ConfinementReport& report) {
    Filter filter;
    RefuseConnections(filter);
    std::string problem;
    if (!filter.Apply(problem)) {
        report.problem += (report.problem.empty() ? "" : "; ") + problem;
        return;
    }
    report.connections = true;
}

bool LimitAddressSpace(std::size_t headroom) {
    const std::size_t now = AddressSpaceNow();
    if (now == 0) return false;
    const rlimit limit{now + headroom, now + headroom};
    return setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace mensura::viewer
