#include <dirent.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "core/SettingsStore.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/ShownSettingsStore.h"
#include "platform/PosixFileSystem.h"

using namespace tovrimo;

namespace {

class PosixFileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tovrimo-fs-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = std::string(pattern) + "/";
    }
    void TearDown() override
    {
        ::chmod(dir.c_str(), 0755);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    void put(const std::string& name, const std::string& content)
    {
        std::ofstream(dir + name, std::ios::binary) << content;
    }
    std::string get(const std::string& name)
    {
        std::ifstream in(dir + name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::set<std::string> names()
    {
        std::set<std::string> result;
        if (DIR* d = ::opendir(dir.c_str())) {
            while (const dirent* e = ::readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    result.insert(e->d_name);
            ::closedir(d);
        }
        return result;
    }
    // Makes the folder read-only; false when the process can write there anyway (root).
    bool makeFolderReadOnly()
    {
        ::chmod(dir.c_str(), 0555);
        return ::access(dir.c_str(), W_OK) != 0;
    }

    std::string dir;
    PosixFileSystem fs;
};

}  // namespace

TEST_F(PosixFileSystemTest, WriteCreatesAndReplacesWithoutLeavingTemporaryFiles)
{
    std::string error;
    ASSERT_TRUE(fs.writeAtomically(dir + "tovrimo.ini", "first\n", &error)) << error;
    EXPECT_EQ(get("tovrimo.ini"), "first\n");
    ASSERT_TRUE(fs.writeAtomically(dir + "tovrimo.ini", "second\n", &error)) << error;
    EXPECT_EQ(fs.readAll(dir + "tovrimo.ini"), "second\n");
    EXPECT_EQ(names(), std::set<std::string>{"tovrimo.ini"});
}

TEST_F(PosixFileSystemTest, ReplacedFileKeepsItsPermissions)
{
    put("tovrimo.ini", "old");
    ::chmod((dir + "tovrimo.ini").c_str(), 0640);
    ASSERT_TRUE(fs.writeAtomically(dir + "tovrimo.ini", "new", nullptr));
    struct stat st {};
    ASSERT_EQ(::stat((dir + "tovrimo.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(PosixFileSystemTest, SymbolicLinkStaysALinkToTheNewContent)
{
    put("real.ini", "old");
    ASSERT_EQ(::symlink((dir + "real.ini").c_str(), (dir + "tovrimo.ini").c_str()), 0);
    ASSERT_TRUE(fs.writeAtomically(dir + "tovrimo.ini", "new", nullptr));
    struct stat st {};
    ASSERT_EQ(::lstat((dir + "tovrimo.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(get("real.ini"), "new");
}

TEST_F(PosixFileSystemTest, FailedWriteKeepsTheOldFileAndGivesTheReason)
{
    // A folder in the file's place cannot be replaced, not even by root.
    ASSERT_EQ(::mkdir((dir + "busy").c_str(), 0755), 0);
    std::string error;
    EXPECT_FALSE(fs.writeAtomically(dir + "busy", "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(names(), std::set<std::string>{"busy"});

    EXPECT_FALSE(fs.writeAtomically(dir + "missing/tovrimo.ini", "x", &error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST_F(PosixFileSystemTest, ReadOnlyFolderKeepsTheOldFile)
{
    put("tovrimo.ini", "old");
    if (!makeFolderReadOnly())
        GTEST_SKIP() << "running as root: a read-only folder is still writable";
    std::string error;
    EXPECT_FALSE(fs.writeAtomically(dir + "tovrimo.ini", "new", &error));
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(get("tovrimo.ini"), "old");
    EXPECT_EQ(names(), std::set<std::string>{"tovrimo.ini"});
}

TEST_F(PosixFileSystemTest, SaveSettingsInAReadOnlyFolderKeepsTheOldFileAndTellsTheUser)
{
    put("tovrimo.ini", "[Application]\nTitle=old\n");
    if (!makeFolderReadOnly())
        GTEST_SKIP() << "running as root: a read-only folder is still writable";
    test::FakePrinterBackend printers;
    test::RecordingMessageBoxes boxes;
    test::ShownSettingsStore store(fs, printers, boxes, dir);
    SettingsData data;
    data.settings.title = "new";
    EXPECT_FALSE(store.saveSettings(data));
    EXPECT_EQ(get("tovrimo.ini"), "[Application]\nTitle=old\n");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("Permission denied"), std::string::npos);
}

TEST_F(PosixFileSystemTest, StoredNameIgnoresCaseAndReportsTheNameOnDisk)
{
    put("LUSK.ini", "x");
    EXPECT_EQ(fs.storedName(dir, "lusk.ini"), "LUSK.ini");
    EXPECT_EQ(fs.storedName(dir, "LUSK.INI"), "LUSK.ini");
    EXPECT_EQ(fs.storedName(dir, "tovrimo.ini"), std::nullopt);
    EXPECT_EQ(fs.storedName(dir + "missing/", "lusk.ini"), std::nullopt);
    put("lusk.ini", "y");
    EXPECT_EQ(fs.storedName(dir, "lusk.ini"), "lusk.ini");
}

TEST_F(PosixFileSystemTest, ReadCopyRemove)
{
    EXPECT_EQ(fs.readAll(dir + "none"), std::nullopt);
    EXPECT_EQ(fs.readAll(dir), std::nullopt);  // a folder is not a file
    // The reason comes back for the message that names the unreadable file.
    std::string reason;
    EXPECT_EQ(fs.readAll(dir + "none", &reason), std::nullopt);
    EXPECT_EQ(reason, "No such file or directory");
    EXPECT_EQ(fs.readAll(dir, &reason), std::nullopt);
    EXPECT_EQ(reason, "Is a directory");
    const std::string binary("a\0b\xFF", 4);
    put("lusk.ini", binary);
    EXPECT_TRUE(fs.exists(dir + "lusk.ini"));
    std::string error;
    ASSERT_TRUE(fs.copyFile(dir + "lusk.ini", dir + "tovrimo.ini", &error)) << error;
    EXPECT_EQ(get("tovrimo.ini"), binary);
    EXPECT_EQ(get("lusk.ini"), binary);
    EXPECT_FALSE(fs.copyFile(dir + "none", dir + "other", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs.remove(dir + "tovrimo.ini"));
    EXPECT_FALSE(fs.exists(dir + "tovrimo.ini"));
    EXPECT_FALSE(fs.remove(dir + "tovrimo.ini"));
}

TEST_F(PosixFileSystemTest, AbandonedWritesOfEndedProcessesAreRemoved)
{
    // A process id that is certainly free: a child that has ended and been reaped.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(::getppid());
    const std::string self = std::to_string(::getpid());

    put("tovrimo.ini", "whole\n");
    put("tovrimo.ini.tmp-" + dead + "-0", "half");
    put("tovrimo.ini.tmp-" + dead + "-17", "half");
    put("tovrimo.ini.tmp-" + self + "-3", "half");   // this process is not writing now
    put("tovrimo.ini.tmp-" + alive + "-0", "busy");  // another process still writing
    // Names that only look alike belong to someone else.
    for (const std::string& other : std::vector<std::string>{
             "tovrimo.ini.tmp-" + dead, "tovrimo.ini.tmp-" + dead + "-", "tovrimo.ini.tmp--1",
             "tovrimo.ini.tmp-x" + dead + "-0", "other.ini.tmp-" + dead + "-0",
             "tovrimo.ini.tmp-99999999999999999999-0", "xtovrimo.ini.tmp-" + dead + "-0"})
        put(other, "keep");
    ASSERT_EQ(::mkdir((dir + "tovrimo.ini.tmp-" + dead + "-9").c_str(), 0755), 0);

    const std::set<std::string> before = names();
    fs.removeAbandonedWrites(dir + "tovrimo.ini");

    std::set<std::string> expected = before;
    expected.erase("tovrimo.ini.tmp-" + dead + "-0");
    expected.erase("tovrimo.ini.tmp-" + dead + "-17");
    expected.erase("tovrimo.ini.tmp-" + self + "-3");
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(get("tovrimo.ini"), "whole\n");
}

TEST_F(PosixFileSystemTest, AbandonedWritesAreFoundBesideALinksTarget)
{
    ASSERT_EQ(::mkdir((dir + "real").c_str(), 0755), 0);
    put("real/tovrimo.ini", "whole\n");
    put("real/tovrimo.ini.tmp-" + std::to_string(::getpid()) + "-0", "half");
    ASSERT_EQ(::symlink((dir + "real/tovrimo.ini").c_str(), (dir + "tovrimo.ini").c_str()), 0);
    fs.removeAbandonedWrites(dir + "tovrimo.ini");
    EXPECT_FALSE(fs.exists(dir + "real/tovrimo.ini.tmp-" + std::to_string(::getpid()) + "-0"));
    EXPECT_EQ(get("tovrimo.ini"), "whole\n");
}

// A real full disk: a tiny tmpfs mounted over the folder in a private mount namespace of a
// child process (needs root or user namespaces; skipped where neither is allowed).
TEST_F(PosixFileSystemTest, SaveSettingsOnAFullDiskKeepsTheOldFileAndTellsTheUser)
{
    enum : int { kPassed = 0, kNoMount = 77, kFailed = 1 };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tovrimo-full", dir.c_str(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(kNoMount);
        const std::string old = "[Application]\nTitle=old\n";
        put("tovrimo.ini", old);
        // Fill the rest of the file system.
        {
            std::ofstream filler(dir + "filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (int i = 0; i < 64 && filler.write(block.data(), block.size()); ++i) filler.flush();
        }
        test::FakePrinterBackend printers;
        test::RecordingMessageBoxes boxes;
        PosixFileSystem real;
        test::ShownSettingsStore store(real, printers, boxes, dir);
        SettingsData data;
        data.settings.title = "new";
        data.settings.namedSettingCount = 101;  // some tens of kilobytes: more than is left
        const bool saved = store.saveSettings(data);
        const bool kept = get("tovrimo.ini") == old;
        const bool told = boxes.shown.size() == 1 &&
                          boxes.shown[0].text.find("No space left on device") != std::string::npos;
        bool clean = true;
        for (const std::string& name : names())
            clean = clean && name.find(".tmp-") == std::string::npos;
        if (saved || !kept || !told || !clean) {
            std::fprintf(stderr, "saved %d kept %d told %d clean %d: %s\n", saved, kept, told,
                         clean, boxes.shown.empty() ? "" : boxes.shown[0].text.c_str());
            ::_exit(kFailed);
        }
        ::_exit(kPassed);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoMount) GTEST_SKIP() << "cannot mount a small file system here";
    EXPECT_EQ(WEXITSTATUS(status), kPassed) << "see the child's report above";
}
