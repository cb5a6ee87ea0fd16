#pragma once

// The help viewer's confinement: once it has started, and before it reads
// any help file, it gives up for good what it must never need again.
//  - Files: Landlock lets it read (and map as code) only what is named
//    here; it can write, create, rename or remove nothing anywhere, but in
//    the folders named writable.
//  - Network: no TCP connection or listener (Landlock), and no socket of
//    any family but local ones (a seccomp filter), so a page can reach no
//    other machine.
//  - Memory: an address-space limit a fixed headroom above what it uses
//    once its window stands (LimitAddressSpace), so that a page whose
//    layout or pictures blow up ends the viewer, not the machine's memory.
// Linux only; standard C++ over system calls.
#include <cstddef>
#include <string>
#include <vector>

namespace mensura::viewer {

struct ConfinementRules {
    // Folders (and everything below them) and single files that stay
    // readable. Paths that do not exist are left out.
    std::vector<std::string> readable;
    // Open descriptors of files that stay readable, such as the help files.
    std::vector<int> readableFiles;
    // Files that may still be written, and folders in which files may still
    // be made, written and removed (a print job's PDF file or spool
    // folder); none for the viewer.
    std::vector<std::string> writable;
};

struct ConfinementReport {
    int landlockAbi = 0;   // 0 where the kernel has no Landlock
    bool files = false;    // reading limited, writing refused
    bool tcp = false;      // TCP refused by Landlock
    bool sockets = false;  // non-local sockets refused by seccomp
    std::string problem;   // what could not be set up, if anything

    // "files, TCP, sockets (Landlock 6)", and what failed.
    std::string Describe() const;
};

// What Qt reads once a program is confined: its libraries and plugins,
// fonts and their configuration, icon themes, the X authority cookie, and
// the program's own /proc entries.
std::vector<std::string> PlacesQtReads();

// Opens for reading each path that names a regular file (a FIFO or a
// device is not waited on), so that its descriptor can stay readable
// under the confinement; the other paths are left out.
std::vector<int> OpenRegularFiles(const std::vector<std::string>& paths);

// Confines the calling thread and every thread and process it starts from
// now on, for the rest of their lives: call it before any other thread
// exists. What the kernel cannot do is left out and said in the report;
// the rest still applies.
ConfinementReport Confine(const ConfinementRules& rules);

// How far a help process may grow beyond its size once its window stands:
// room for the largest pages and pictures the page caps let through, and
// for Qt's own caches; far below what a runaway layout would take. None
// under the address sanitizer, which reserves terabytes.
extern const std::size_t kAddressSpaceHeadroom;

// Limits the address space to its size now plus `headroom` bytes, for the
// whole process; false when it cannot.
bool LimitAddressSpace(std::size_t headroom);

}  // namespace mensura::viewer
