// Starts a program, waits for the X server to report its first top-level
// window mapped, and prints the time from exec to then in milliseconds, the
// processor time the program had used by then (all its threads, ms; less
// disturbed by a busy machine), and its resident memory once it has idled
// for a while, in kB.
// Usage: mensura_mapwait IDLE_MS PROGRAM [ARGS...]   (on $DISPLAY)
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key)
        if (key == "VmRSS:" && status >> value) return value;
    return -1;
}

// Processor time of all the process's threads so far, in milliseconds.
double CpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            double onCpu = 0;
            if (schedstat >> onCpu) ns += onCpu;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IDLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int idleMs = std::atoi(argv[1]);
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "mapwait: cannot open the display\n");
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    // Map events of every top-level window come to the root's substructure.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
    double ms = -1;
    double cpuMs = -1;
    while (ms < 0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped =
                (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            free(event);
            if (mapped) {
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count();
                cpuMs = CpuMs(pid);
                break;
            }
        }
        if (ms >= 0) break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "mapwait: %s ended before mapping a window\n", argv[2]);
            return 1;
        }
        poll(&fd, 1, 100);
    }
    usleep(static_cast<useconds_t>(idleMs) * 1000);
    const long rss = ResidentKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::printf("%.1f %.1f %ld\n", ms, cpuMs, rss);
    xcb_disconnect(connection);
    return 0;
}
