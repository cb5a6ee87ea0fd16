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

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

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
constexpr std::uint32_t kCreateRulesetVersion = 1U << 0;
constexpr int kRulePathBeneath = 1;

struct RulesetAttr {
    std::uint64_t handledAccessFs;
    std::uint64_t handledAccessNet;  // ABI 4
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
    RulesetAttr attr{HandledFileRights(report.landlockAbi), 0};
    std::size_t size = sizeof attr.handledAccessFs;
    if (abi >= 4) {
        attr.handledAccessNet = kBindTcp | kConnectTcp;
        size += sizeof attr.handledAccessNet;
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
        const Fd fd(open(path.c_str(), O_PATH | O_CLOEXEC));
        if (fd.get() < 0) continue;
        const std::uint64_t file = kReadFile | kWriteFile | truncate;
        Allow(ruleset.get(), fd.get(),
              IsDirectory(fd.get()) ? file | kReadDir | kRemoveFile | kMakeRegular : file);
    }
    if (syscall(__NR_landlock_restrict_self, ruleset.get(), 0) != 0) {
        report.problem = std::string("Landlock could not be applied: ") + std::strerror(errno);
        return;
    }
    report.files = true;
    report.tcp = abi >= 4;
}

// A seccomp filter: socket(), socketpair() and io_uring_setup() fail with
// EACCES unless the socket is a local one (AF_UNIX).
void RestrictSockets(ConfinementReport& report) {
#if defined(__x86_64__)
    constexpr std::uint32_t kArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
    constexpr std::uint32_t kArch = AUDIT_ARCH_AARCH64;
#else
    report.problem = "no socket filter for this processor";
    return;
#endif
    constexpr std::uint32_t kDeny = SECCOMP_RET_ERRNO | (EACCES & SECCOMP_RET_DATA);
    sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_io_uring_setup, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, kDeny),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_socket, 1, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_socketpair, 0, 2),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AF_UNIX, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, kDeny),
    };
    const sock_fprog fprog{static_cast<unsigned short>(sizeof program / sizeof program[0]),
                           program};
    if (syscall(__NR_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_TSYNC, &fprog) != 0) {
        report.problem =
            std::string("the socket filter could not be applied: ") + std::strerror(errno);
        return;
    }
    report.sockets = true;
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
    for (const std::string& place : {cache + "/fontconfig", config + "/fontconfig", data + "/fonts",
                                     data + "/icons", home + "/.fonts", home + "/.icons"})
        places.push_back(place);
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
    std::string text = parts.empty() ? std::string("nothing") : parts;
    if (landlockAbi > 0) text += " (Landlock " + std::to_string(landlockAbi) + ")";
    if (!problem.empty()) text += "; " + problem;
    return text;
}

std::vector<int> OpenRegularFiles(const std::vector<std::string>& paths) {
    std::vector<int> fds;
    for (const std::string& path : paths) {
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
    RestrictSockets(report);
    return report;
}

bool LimitAddressSpace(std::size_t headroom) {
    const std::size_t now = AddressSpaceNow();
    if (now == 0) return false;
    const rlimit limit{now + headroom, now + headroom};
    return setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace mensura::viewer
