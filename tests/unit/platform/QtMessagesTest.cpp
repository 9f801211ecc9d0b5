#include <gtest/gtest.h>

#include <QStringList>

#include "platform/QtMessages.h"

using namespace tovrimo;

TEST(QtMessages, OnlyTheMissingRuntimeFolderNoteIsDropped)
{
    struct Case {
        const char* message;
        bool dropped;
    } cases[] = {
        {"QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'", true},
        {"QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-ユーザ'", true},
        // A folder that exists but is unsafe is worth telling.
        {"QStandardPaths: wrong permissions on runtime directory /run/user/0, 0755 instead of 0700",
         false},
        {"QStandardPaths: runtime directory '/tmp/runtime-root' is not owned by UID 0", false},
        {"qt.qpa.xcb: could not connect to display :99", false},
        {"Warning: QStandardPaths: XDG_RUNTIME_DIR not set", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsMissingRuntimeFolderNote(QString::fromUtf8(c.message)), c.dropped) << c.message;
    }
}

TEST(QtMessages, OtherWarningsStillReachTheHandlerBefore)
{
    static QStringList seen;
    seen.clear();
    const QtMessageHandler original = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { seen << m; });
    QuietMissingRuntimeFolderNote();
    qWarning("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-x'");
    qWarning("something else went wrong");
    qInstallMessageHandler(original);
    EXPECT_EQ(seen, QStringList{QStringLiteral("something else went wrong")});
}
