// ChmFile: chmlib behind a container check. The file is opened once by
// us, checked (chm_layout.cpp), and only then handed to chmlib through the
// same open file, so what chmlib reads is what was checked. Every answer
// goes through the checked directory as well: an object is read only when
// the directory lists it inside its space and chmlib resolves it to that
// same entry.
#include "chm_file.h"

#include <chm_lib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "ascii_text.h"
#include "chm_layout.h"
#include "chm_path.h"
#include "chm_system.h"

namespace mensura::helpfile {

namespace {

std::string WithoutFragment(std::string_view path) {
    return std::string(path.substr(0, path.find('#')));
}

struct ChmCloser {
    void operator()(chmFile* h) const { chm_close(h); }
};

}  // namespace

struct ChmFile::Impl {
    std::unique_ptr<chmFile, ChmCloser> chm;
    detail::Layout layout;
    SystemData system;
    // chmlib marks a block as cached before it decompresses it, so after a
    // failed decompression it would serve that block's stale buffer as data.
    // One failure therefore ends all reading from the compressed section.
    mutable bool compressedFailed = false;

    const detail::DirectoryEntry* Entry(std::string_view path) const {
        return detail::Find(layout, path);
    }
    bool Exists(std::string_view path) const {
        const detail::DirectoryEntry* e = Entry(path);
        return e && e->readable;
    }
    std::string Sitemap(const std::string& named, std::string_view extension) const;
};

ChmFile::ChmFile(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
ChmFile::~ChmFile() = default;

std::unique_ptr<ChmFile> ChmFile::Open(const std::string& path, std::string* error) {
    std::string reason;
    const auto fail = [&](std::string why) -> std::unique_ptr<ChmFile> {
        if (error) *error = std::move(why);
        return nullptr;
    };
    if (path.empty() || path.find('\0') != std::string::npos) return fail("no file name");

    // O_NONBLOCK: a FIFO in the file's place must not block the opening.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return fail("the file cannot be opened");
    struct FdCloser {
        int fd;
        ~FdCloser() { close(fd); }
    } closer{fd};
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return fail("not a regular file");

    auto layout = detail::CheckLayout(fd, static_cast<std::uint64_t>(info.st_size), reason);
    if (!layout) return fail(reason);

    // chmlib opens by name; through /proc it opens the very file checked,
    // even if the name has been pointed elsewhere since.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    chmFile* chm = chm_open(self.c_str());
    if (!chm) {
        struct stat again {};
        if (stat(path.c_str(), &again) == 0 && again.st_dev == info.st_dev &&
            again.st_ino == info.st_ino)
            chm = chm_open(path.c_str());
    }
    if (!chm) return fail("the help file cannot be read");

    auto impl = std::make_unique<Impl>();
    impl->chm.reset(chm);
    impl->layout = std::move(*layout);
    std::unique_ptr<ChmFile> file(new ChmFile(std::move(impl)));
    if (const auto system = file->Object("/#SYSTEM"))
        file->m_impl->system = ParseSystem(*system).value_or(SystemData{});
    return file;
}

std::optional<std::string> ChmFile::Object(std::string_view path) const {
    if (path.empty() || path.size() > kMaxPathLength || path.find('\0') != std::string::npos)
        return std::nullopt;
    const detail::DirectoryEntry* entry = m_impl->Entry(path);
    if (!entry || !entry->readable || entry->length > kMaxObjectSize) return std::nullopt;
    if (entry->space != 0 && m_impl->compressedFailed) return std::nullopt;

    chmUnitInfo unit{};
    const std::string name(path);
    if (chm_resolve_object(m_impl->chm.get(), name.c_str(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.start != entry->start || unit.length != entry->length ||
        static_cast<std::uint64_t>(unit.space) != entry->space)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(entry->length), '\0');
    if (bytes.empty()) return bytes;
    const LONGINT64 got = chm_retrieve_object(m_impl->chm.get(), &unit,
                                              reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(bytes.size()));
    if (got != static_cast<LONGINT64>(bytes.size())) {
        if (entry->space != 0) m_impl->compressedFailed = true;
        return std::nullopt;
    }
    return bytes;
}

std::string ChmFile::DefaultTopic() const {
    if (const auto topic = ResolvePath(m_impl->system.defaultTopic))
        if (m_impl->Exists(WithoutFragment(*topic))) return *topic;
    for (const char* name : {"/index.htm", "/index.html", "/default.htm", "/default.html"})
        if (m_impl->Exists(name)) return name;
    const std::vector<std::string> pages = Pages();
    return pages.empty() ? std::string() : pages.front();
}

// The path of a sitemap: the one the #SYSTEM record names, else the first
// object with its extension; empty when there is none.
std::string ChmFile::Impl::Sitemap(const std::string& named, std::string_view extension) const {
    if (const auto path = ResolvePath(named))
        if (Exists(*path)) return *path;
    std::vector<std::string> candidates;
    for (const detail::DirectoryEntry& e : layout.entries)
        if (e.readable && EndsWithNoCase(e.name, extension) && ResolvePath(e.name) == e.name)
            candidates.push_back(e.name);
    if (candidates.empty()) return {};
    return *std::min_element(candidates.begin(), candidates.end());
}

namespace {

// A sitemap's path and bytes, for its parser; nullopt when the file has
// none (an empty path) or it cannot be read.
struct SitemapObject {
    std::string path, bytes;
};
std::optional<SitemapObject> ReadSitemap(const ChmFile& file, std::string path) {
    if (path.empty()) return std::nullopt;
    std::optional<std::string> bytes = file.Object(path);
    if (!bytes) return std::nullopt;
    return SitemapObject{std::move(path), std::move(*bytes)};
}

}  // namespace

std::vector<ContentsEntry> ChmFile::Contents() const {
    const auto hhc = ReadSitemap(*this, m_impl->Sitemap(m_impl->system.contentsFile, ".hhc"));
    return hhc ? ParseSitemap(hhc->bytes, hhc->path) : std::vector<ContentsEntry>();
}

std::vector<IndexEntry> ChmFile::Index() const {
    const auto hhk = ReadSitemap(*this, m_impl->Sitemap(m_impl->system.indexFile, ".hhk"));
    return hhk ? ParseIndex(hhk->bytes, hhk->path) : std::vector<IndexEntry>();
}

std::vector<std::string> ChmFile::Pages() const {
    std::vector<std::string> pages;
    for (const detail::DirectoryEntry& e : m_impl->layout.entries)
        if (e.readable && (EndsWithNoCase(e.name, ".htm") || EndsWithNoCase(e.name, ".html")) &&
            ResolvePath(e.name) == e.name && e.name.find('#') == std::string::npos)
            pages.push_back(e.name);
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::string ChmFile::Title() const {
    std::string title;
    for (char c : m_impl->system.title)
        if (!IsControl(c)) title.push_back(c);
    return title;
}

}  // namespace mensura::helpfile
