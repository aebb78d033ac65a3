// Starts a program and reads two times from the X server's own events: when
// it maps its first top-level window (the root window's structure events),
// and when the first drawing reaches that window after its map (the DAMAGE
// extension, watching every top-level window from its creation), which is
// when the user sees it. Nothing polls the program or takes its CPU. Then
// lets it paint, ends it and reads its peak resident memory.
// Usage: map_timer PROGRAM [ARGUMENT...]; prints "MAP_MS FIRST_FRAME_MS KILOBYTES".
#include <xcb/damage.h>
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

struct Times {
    int mapMs = -1;
    int frameMs = -1;
};

// Watches every window created on the root for drawing, before it can draw.
void WatchForDrawing(xcb_connection_t *connection, xcb_window_t window)
{
    xcb_damage_create(connection, xcb_generate_id(connection), window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_flush(connection);
}

// Waits for the first window's map, then for the first drawing on it.
bool WaitForFirstFrame(xcb_connection_t *connection, uint8_t damageEvent, Clock::time_point start, Times &times)
{
    pollfd ready{xcb_get_file_descriptor(connection), POLLIN, 0};
    xcb_window_t mapped = XCB_NONE;
    while (Elapsed(start) < kGiveUpMs) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const uint8_t type = event->response_type & 0x7F;
            if (type == XCB_CREATE_NOTIFY) {
                WatchForDrawing(connection, reinterpret_cast<xcb_create_notify_event_t *>(event)->window);
            } else if (type == XCB_MAP_NOTIFY && mapped == XCB_NONE) {
                mapped = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                times.mapMs = Elapsed(start);
            } else if (type == damageEvent + XCB_DAMAGE_NOTIFY && mapped != XCB_NONE
                       && reinterpret_cast<xcb_damage_notify_event_t *>(event)->drawable == mapped) {
                times.frameMs = Elapsed(start);
            }
            std::free(event);
            if (times.frameMs >= 0)
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
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (damage == nullptr || !damage->present) {
        std::fputs("map_timer: the X server has no DAMAGE extension\n", stderr);
        return 1;
    }
    std::free(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));
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
    Times times;
    const bool mapped = WaitForFirstFrame(connection, damage->first_event, start, times);
    if (mapped)
        usleep(kPaintMs * 1000); // the memory figure includes the first paint
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "map_timer: %s drew no window within %d s\n", argv[1], kGiveUpMs / 1000);
        return 1;
    }
    std::printf("%d %d %ld\n", times.mapMs, times.frameMs, usage.ru_maxrss);
    return 0;
}
