// Starts a program on the X display and tells how long it took from the start of its
// process to its first top-level window being mapped, and its resident set a while
// after that. Watching the root window for the map, rather than asking the program,
// measures any program the same way.
//   startup_map_timer SECONDS PROGRAM [ARGS...]
// Prints "map_ms <ms> rss_kib <KiB>" (the resident set SECONDS after the map), then ends
// the program. Exits non-zero when no window is mapped within 20 s.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

long ResidentKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Waits for a MapNotify of a top-level window (a child of the root that is not an
// override-redirect popup); false when none comes before the deadline.
bool WaitForMap(xcb_connection_t* connection, Clock::time_point deadline) {
    pollfd watched{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(connection)) {
            const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(raw);
                if (!map->override_redirect) {
                    return true;
                }
            }
        }
        if (xcb_connection_has_error(connection)) {
            return false;
        }
        poll(&watched, 1, 5);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_map_timer SECONDS PROGRAM [ARGS...]\n");
        return 2;
    }
    const double settle = std::strtod(argv[1], nullptr);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "startup_map_timer: no X display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(connection, xcb_change_window_attributes_checked(connection, screen->root,
                                                                       XCB_CW_EVENT_MASK, &mask));

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const bool mapped = WaitForMap(connection, start + std::chrono::seconds(20));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    long rss = -1;
    if (mapped) {
        std::this_thread::sleep_for(std::chrono::duration<double>(settle));
        rss = ResidentKib(child);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "startup_map_timer: %s mapped no window\n", argv[2]);
        return 1;
    }
    std::printf("map_ms %.1f rss_kib %ld\n", ms, rss);
    return 0;
}
