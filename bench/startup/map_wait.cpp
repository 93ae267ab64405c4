// Starts a command and says how long it took until its window of a given
// title was mapped on the X display: it listens for the map itself instead
// of polling, so the measuring costs the measured program no processor time.
// Usage: map_wait TITLE COMMAND [ARGS...]
// Prints "PID SECONDS" and leaves the command running; exits 1 when the
// command ends first or nothing is mapped within a minute.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

std::string Title(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    std::string title;
    if (reply)
        title.assign(static_cast<const char *>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    std::free(reply);
    return title;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fputs("usage: map_wait TITLE COMMAND [ARGS...]\n", stderr);
        return 2;
    }
    const std::string wanted = argv[1];
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("map_wait: no X display\n", stderr);
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t netName = Atom(connection, "_NET_WM_NAME");
    xcb_flush(connection);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setsid();  // the command outlives this program
        // Whoever reads this program's answer must not wait for the command's end.
        const int nothing = open("/dev/null", O_WRONLY);
        dup2(nothing, STDOUT_FILENO);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return 1;
        poll(&watch, 1, 100);
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                if (Title(connection, window, netName) == wanted || Title(connection, window, XCB_ATOM_WM_NAME) == wanted) {
                    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
                    std::printf("%d %.3f\n", static_cast<int>(child), took.count());
                    std::free(event);
                    return 0;
                }
            }
            std::free(event);
        }
    }
    return 1;
}
