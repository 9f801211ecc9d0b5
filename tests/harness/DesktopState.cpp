#include "harness/DesktopState.h"

#include <cstdlib>
#include <sstream>

#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/XSession.h"

namespace tovrimo::test {

std::vector<QPoint> TrayIcons()
{
    const Process p = Process::run(
        "/bin/sh",
        {{"-c",
          "for w in $(xdotool search --onlyvisible --class trayer); do "
          "  for c in $(xwininfo -children -id $w | sed -n 's/^ *\\(0x[0-9a-f]*\\) .*/\\1/p'); do "
          "    xwininfo -id $c | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} "
          "      /Width:/{w=$2} /Height:/{h=$2} END{print x+int(w/2), y+int(h/2)}'; "
          "  done; "
          "done"}});
    std::istringstream out(p.standardOutput());
    std::vector<QPoint> icons;
    for (int x = 0, y = 0; out >> x >> y;) icons.emplace_back(x, y);
    return icons;
}

std::vector<int> TrayIconOwners()
{
    // trayer holds each icon window in a socket window of its own (and keeps a 1x1 window of
    // its own beside them): the icon windows are the sockets' children.
    const Process p = Process::run(
        "/bin/sh",
        {{"-c",
          "kids() { xwininfo -children -id $1 | sed -n 's/^ *\\(0x[0-9a-f]*\\) .*/\\1/p'; }; "
          "for w in $(xdotool search --onlyvisible --class trayer); do "
          "  for c in $(kids $w); do for g in $(kids $c); do "
          "    xprop -id $g _NET_WM_PID | sed -n 's/.* = \\([0-9]*\\)$/\\1/p;t;s/.*/0/p'; "
          "  done; done; "
          "done"}});
    std::istringstream out(p.standardOutput());
    std::vector<int> owners;
    for (int pid = 0; out >> pid;) owners.push_back(pid);
    return owners;
}

void FocusRoot()
{
    FocusRoot(TestSession::current().x().connection());
}

void FocusRoot(xcb_connection_t* c)
{
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT,
                        XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

QImage GrabScreen(xcb_connection_t* c, const QRect& area)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto cookie =
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(area.x()),
                      static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                      static_cast<uint16_t>(area.height()), ~0u);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr);
    if (!reply) return {};
    // A 24-bit Xvfb screen stores 32 bits per pixel, blue first.
    QImage image(xcb_get_image_data(reply), area.width(), area.height(), area.width() * 4,
                 QImage::Format_RGB32);
    QImage copy = image.copy();
    std::free(reply);
    return copy;
}

QPoint CentreOfDifference(const QImage& before, const QImage& after)
{
    if (before.size() != after.size()) return {-1, -1};
    QRect changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) changed |= QRect(x, y, 1, 1);
    return changed.isEmpty() ? QPoint(-1, -1) : changed.center();
}

namespace {

xcb_window_t TopLevelOf(xcb_connection_t* c, xcb_window_t w)
{
    for (;;) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
        if (!tree) return 0;
        const xcb_window_t parent = tree->parent, root = tree->root;
        std::free(tree);
        if (parent == root || parent == 0) return w;
        w = parent;
    }
}

}  // namespace

bool StackedAbove(xcb_connection_t* c, xcb_window_t a, xcb_window_t b)
{
    const xcb_window_t topA = TopLevelOf(c, a), topB = TopLevelOf(c, b);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr);
    if (!tree) return false;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    int indexA = -1, indexB = -1;  // bottom to top
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        if (children[i] == topA) indexA = i;
        if (children[i] == topB) indexB = i;
    }
    std::free(tree);
    return indexA >= 0 && indexB >= 0 && indexA > indexB;
}

QImage GrabWindow(uint32_t window)
{
    xcb_connection_t* c = TestSession::current().x().connection();
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!geometry) return {};
    const uint16_t width = geometry->width;
    const uint16_t height = geometry->height;
    const uint8_t depth = geometry->depth;
    std::free(geometry);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, width, height, ~0u), nullptr);
    if (!reply) return {};
    QImage image;
    const int length = xcb_get_image_data_length(reply);
    // Depth 24 and 32 come as 32 bits per pixel, blue first: Qt's RGB32 in memory.
    if ((depth == 24 || depth == 32) && length >= int(width) * height * 4) {
        image =
            QImage(xcb_get_image_data(reply), width, height, int(width) * 4, QImage::Format_RGB32)
                .copy();
    }
    std::free(reply);
    return image;
}

TestWindow::TestWindow(const std::string& title, int x, int y, int width, int height, uint32_t rgb)
    : TestWindow(TestSession::current().x().connection(), title, x, y, width, height, rgb)
{
}

TestWindow::TestWindow(xcb_connection_t* connection, const std::string& title, int x, int y,
                       int width, int height, uint32_t rgb)
    : c_(connection)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    id_ = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, id_, screen->root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(width),
                      static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL, &rgb);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, id_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(title.size()), title.data());
    xcb_map_window(c_, id_);
    xcb_flush(c_);
}

TestWindow::~TestWindow()
{
    xcb_destroy_window(c_, id_);
    xcb_flush(c_);
}

}  // namespace tovrimo::test
