#include <gtest/gtest.h>

#include <QJsonDocument>

#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/SwayIpc.h"

namespace tovrimo {
namespace {

// A get_tree answer shaped like sway's: root, output, workspace, a split with two windows, and
// a floating window. Workspaces and outputs carry "focused" too, but no pid.
QJsonObject Tree(int focusedId)
{
    const auto focused = [focusedId](int id) { return id == focusedId ? "true" : "false"; };
    const std::string json = std::string(R"({"id":1,"type":"root","focused":false,"nodes":[
      {"id":3,"type":"output","name":"HEADLESS-1","focused":)") +
                             focused(3) + R"(,"nodes":[
        {"id":4,"type":"workspace","name":"1","focused":)" +
                             focused(4) + R"(,"nodes":[
          {"id":7,"type":"con","layout":"splith","focused":false,"nodes":[
            {"id":8,"type":"con","name":"Editor","pid":1234,"focused":)" +
                             focused(8) + R"(,
             "rect":{"x":0,"y":0,"width":640,"height":800},"nodes":[]},
            {"id":9,"type":"con","name":"Browser","pid":1300,"focused":)" +
                             focused(9) + R"(,
             "rect":{"x":640,"y":0,"width":640,"height":800},"nodes":[]}]}],
          "floating_nodes":[
            {"id":12,"type":"floating_con","name":"Note","pid":99,"focused":)" +
                             focused(12) + R"(,
             "rect":{"x":100,"y":120,"width":200,"height":150},"nodes":[]}]}]}]})";
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json));
    EXPECT_TRUE(document.isObject());
    return document.object();
}

TEST(SwayTree, TheFocusedWindowIsTheFocusedNodeWithAProgramBehindIt)
{
    for (int id : {8, 9, 12}) {
        SCOPED_TRACE(id);
        const auto window = FocusedWindow(Tree(id));
        ASSERT_TRUE(window.has_value());
        EXPECT_EQ(window->value("id").toInt(), id);
    }
    // An empty workspace with the focus has no window.
    EXPECT_FALSE(FocusedWindow(Tree(4)).has_value());
    EXPECT_FALSE(FocusedWindow(Tree(3)).has_value());
    EXPECT_FALSE(FocusedWindow(QJsonObject()).has_value());
}

TEST(SwayTree, NodesAreFoundByIdInSplitsAndAmongFloatingWindows)
{
    const QJsonObject tree = Tree(8);
    EXPECT_EQ(NodeWithId(tree, 9)->value("name").toString(), "Browser");
    EXPECT_EQ(NodeWithId(tree, 12)->value("rect").toObject().value("y").toInt(), 120);
    EXPECT_FALSE(NodeWithId(tree, 77).has_value());
}

TEST(PortalRequestPath, TheSenderLosesItsColonAndItsDotsBecomeUnderscores)
{
    EXPECT_EQ(PortalRequestPath(":1.42", "tovrimo3"),
              "/org/freedesktop/portal/desktop/request/1_42/tovrimo3");
    EXPECT_EQ(PortalRequestPath(":12.345.6", "t"),
              "/org/freedesktop/portal/desktop/request/12_345_6/t");
}

}  // namespace
}  // namespace tovrimo
