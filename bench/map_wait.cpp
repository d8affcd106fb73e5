// Starts a program and prints, in microseconds, how long it took until the
// display mapped a window of it: from just before the start to the first
// MapNotify of a top-level window. Then ends the program (SIGTERM) and exits
// 0, or 1 when the program ended or no window came within 30 seconds.
//
//   map_wait PROGRAM [ARGUMENT...]      (DISPLAY names the display)
//
// The waiter listens on the root window before the program starts, so no
// map can be missed.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

long long microseconds() {
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Waits for a MapNotify of a child of root; false when the child ended first
// or time ran out.
bool waitForMap(xcb_connection_t* connection, xcb_window_t root, pid_t child) {
    const long long giveUp = microseconds() + 30LL * 1000000;
    pollfd display{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (microseconds() < giveUp) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
            if (reinterpret_cast<xcb_map_notify_event_t*>(event)->event == root) return true;
        }
        if (xcb_connection_has_error(connection)) return false;
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) return false;
        ::poll(&display, 1, 5);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: map_wait PROGRAM [ARGUMENT...]\n", stderr);
        return 64;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("map_wait: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so the selection is in force before the program starts.
    if (xcb_generic_error_t* error =
            xcb_request_check(connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        std::fputs("map_wait: cannot watch the root window\n", stderr);
        return 1;
    }
    const long long start = microseconds();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        ::_exit(127);
    }
    const bool mapped = child > 0 && waitForMap(connection, root, child);
    const long long elapsed = microseconds() - start;
    if (child > 0) {
        ::kill(child, SIGTERM);
        ::waitpid(child, nullptr, 0);
    }
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "map_wait: %s mapped no window\n", argv[1]);
        return 1;
    }
    std::printf("%lld\n", elapsed);
    return 0;
}
