#pragma once

// The help viewer's confinement: once it has started, and before it reads
// any help file, it gives up for good what it must never need again.
//  - Files: Landlock lets it read (and map as code) only what is named
//    here; it can write, create, rename or remove nothing anywhere, but in
//    the folders named writable.
//  - Network: no TCP connection or listener (Landlock), and no socket of
//    any family but local ones (a seccomp filter), so a page can reach no
//    other machine.
//  - Other programs: it starts none (no execve, a seccomp filter), sends
//    no signal to a process outside its confinement and connects to no
//    abstract local socket made outside it (Landlock's scopes, kernel 6.12
//    and later); and it connects to no local socket at all once it has
//    reached what it needs (SealConnections), such as the display server:
//    no session bus, no accessibility bus, no desktop service.
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
    // Folders in which files may still be made, written and removed (a
    // print job's spool folder for its printer); none for the viewer.
    std::vector<std::string> writable;

    // Which local sockets it may still connect to. Nothing: none. Display:
    // those it reaches until SealConnections, abstract ones included, as
    // X11's display socket is one (the viewer). Paths: any by its path,
    // none by an abstract name (a print job's printer service).
    enum class Reach { Nothing, Display, Paths };
    Reach reach = Reach::Nothing;
};

struct ConfinementReport {
    int landlockAbi = 0;         // 0 where the kernel has no Landlock
    bool files = false;          // reading limited, writing refused
    bool tcp = false;            // TCP refused by Landlock
    bool sockets = false;        // non-local sockets refused by seccomp
    bool programs = false;       // execve refused by seccomp
    bool signalScope = false;    // signals kept within (Landlock 6)
    bool abstractScope = false;  // abstract sockets made outside refused (Landlock 6)
    bool connections = false;    // no connection to any socket (seccomp)
    std::string problem;         // what could not be set up, if anything

    // "files, TCP, sockets, programs, signals, connections (Landlock 7)",
    // and what failed.
    std::string Describe() const;
};

// What Qt reads once a program is confined: its libraries and plugins,
// fonts and their configuration, icon themes, the desktop's theme settings
// (qt6ct's, GTK's settings.ini, KDE's kdeglobals), the X authority cookie,
// and the program's own /proc entries. All of it read-only.
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

// From now on no thread of the process connects to any socket or makes a
// new one; the connections it has stay. For a process confined with
// Reach::Display, once its display connection stands. Said in `report`.
void SealConnections(ConfinementReport& report);

// How far a help process may grow beyond its size once its window stands:
// room for the largest pages and pictures the page caps let through, and
// for Qt's own caches; far below what a runaway layout would take. None
// under the address sanitizer, which reserves terabytes.
extern const std::size_t kAddressSpaceHeadroom;

// Limits the address space to its size now plus `headroom` bytes, for the
// whole process; false when it cannot.
bool LimitAddressSpace(std::size_t headroom);

}  // namespace mensura::viewer
