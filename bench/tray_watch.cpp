// Starts a tray program and reports how long it took until its icon sat embedded in the tray,
// then the program's resident memory a few seconds after it started. Plain xcb, so the watcher
// itself loads nothing that could slow the program it measures.
//
//   tray_watch SECONDS_UNTIL_RSS COMMAND [ARGS...]
//
// Prints one line: "embed_ms=<ms> rss_kb=<kB>" (embed_ms=-1 when no icon arrived). The
// program is stopped by its pid afterwards.
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

double NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

std::vector<xcb_window_t> Children(xcb_connection_t* c, xcb_window_t w)
{
    std::vector<xcb_window_t> out;
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
    if (!r) return out;
    const xcb_window_t* kids = xcb_query_tree_children(r);
    out.assign(kids, kids + xcb_query_tree_children_length(r));
    std::free(r);
    return out;
}

// Every client allocates its window ids from its own base; a window inside the tray whose id
// comes from another base was put there by someone else: an embedded icon.
struct Tray {
    uint32_t mask = 0;
    uint32_t base = 0;
    std::vector<xcb_window_t> tops;  // the tray's own windows found right under an ancestor
};

bool FindTray(xcb_connection_t* c, xcb_window_t root, Tray& tray)
{
    const char name[] = "_NET_SYSTEM_TRAY_S0";
    xcb_intern_atom_reply_t* a =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    if (!a) return false;
    xcb_get_selection_owner_reply_t* o =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, a->atom), nullptr);
    std::free(a);
    if (!o || o->owner == XCB_NONE) {
        std::free(o);
        return false;
    }
    tray.mask = xcb_get_setup(c)->resource_id_mask;
    tray.base = o->owner & ~tray.mask;
    std::free(o);
    // The tray's top windows: the first windows of its base met when walking down from the
    // root (the window manager's frames sit in between).
    std::vector<xcb_window_t> todo = Children(c, root);
    while (!todo.empty()) {
        const xcb_window_t w = todo.back();
        todo.pop_back();
        if ((w & ~tray.mask) == tray.base) {
            tray.tops.push_back(w);
            continue;
        }
        for (xcb_window_t k : Children(c, w)) todo.push_back(k);
    }
    return !tray.tops.empty();
}

bool IconEmbedded(xcb_connection_t* c, const Tray& tray)
{
    std::vector<xcb_window_t> todo = tray.tops;
    while (!todo.empty()) {
        const xcb_window_t w = todo.back();
        todo.pop_back();
        for (xcb_window_t k : Children(c, w)) {
            if ((k & ~tray.mask) != tray.base) return true;
            todo.push_back(k);
        }
    }
    return false;
}

long RssKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: tray_watch SECONDS_UNTIL_RSS COMMAND [ARGS...]\n");
        return 2;
    }
    const double rssAfterMs = std::atof(argv[1]) * 1000.0;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "tray_watch: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    Tray tray;
    if (!FindTray(c, root, tray)) {
        std::fprintf(stderr, "tray_watch: no system tray on this display\n");
        return 2;
    }
    if (IconEmbedded(c, tray)) {
        std::fprintf(stderr, "tray_watch: the tray already holds an icon\n");
        return 2;
    }

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    if (pid < 0) return 2;

    double embedMs = -1;
    int status = 0;
    bool exited = false;
    while (NowMs() - start < 20000) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
        if (IconEmbedded(c, tray)) {
            embedMs = NowMs() - start;
            break;
        }
        usleep(1000);
    }
    long rss = -1;
    if (!exited) {
        const double wait = rssAfterMs - (NowMs() - start);
        if (wait > 0) usleep(static_cast<useconds_t>(wait * 1000));
        rss = RssKb(pid);
        kill(pid, SIGTERM);
        for (int i = 0; i < 300 && waitpid(pid, &status, WNOHANG) != pid; ++i) usleep(10000);
        if (waitpid(pid, &status, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
    }
    // The tray drops the icon's socket a moment after the program went away; the next run
    // must start from an empty tray.
    for (int i = 0; i < 200 && IconEmbedded(c, tray); ++i) usleep(10000);
    std::printf("embed_ms=%.1f rss_kb=%ld\n", embedMs, rss);
    xcb_disconnect(c);
    return embedMs < 0 ? 1 : 0;
}
