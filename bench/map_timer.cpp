// Starts a program and stops the clock when the X server maps its first
// top-level window, by listening to the root window's structure events, so
// nothing polls and takes the CPU from the program being timed. Then lets it
// paint, ends it and reads its peak resident memory.
// Usage: map_timer PROGRAM [ARGUMENT...]; prints "MILLISECONDS KILOBYTES".
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kGiveUpMs = 20000;
constexpr int kPaintMs = 300;

using Clock = std::chrono::steady_clock;

int Elapsed(Clock::time_point since)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// Waits for a MapNotify on the root window; false when none came in time.
bool WaitForMap(xcb_connection_t *connection, Clock::time_point start)
{
    pollfd ready{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Elapsed(start) < kGiveUpMs) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        if (xcb_connection_has_error(connection))
            return false;
        poll(&ready, 1, 50);
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fputs("usage: map_timer PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("map_timer: cannot connect to the X server\n", stderr);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr)); // the server has it

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    const bool mapped = WaitForMap(connection, start);
    const int ms = Elapsed(start);
    if (mapped)
        usleep(kPaintMs * 1000); // the memory figure includes the first paint
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "map_timer: %s mapped no window within %d s\n", argv[1], kGiveUpMs / 1000);
        return 1;
    }
    std::printf("%d %ld\n", ms, usage.ru_maxrss);
    return 0;
}
