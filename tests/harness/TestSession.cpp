#include "harness/TestSession.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tovrimo::test {

namespace {
TestSession* g_current = nullptr;
}

TestSession::TestSession(Options options) : options_(options)
{
    g_current = this;
}

TestSession::~TestSession()
{
    TearDown();
    if (g_current == this) g_current = nullptr;
}

TestSession& TestSession::current()
{
    return *g_current;
}

bool TestSession::startAll()
{
    // Qt looks into the runtime folder at start-up and warns when there is none; the programs
    // under test must not need one, but the test programs themselves are Qt programs too.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) {
        char folder[] = "/tmp/tovrimo-test-runtime.XXXXXX";  // mkdtemp makes it mode 0700
        if (!mkdtemp(folder)) {
            std::perror("test session: runtime folder");
            return false;
        }
        runtimeFolder_ = folder;
        setenv("XDG_RUNTIME_DIR", folder, 1);
    }
    x_ = std::make_unique<XSession>(options_.x);
    if (!x_->start()) {
        std::fprintf(stderr, "test session: %s\n", x_->error().c_str());
        return false;
    }
    x_->exportDisplay();
    if (!options_.printers) return true;
    cups_ = std::make_unique<PrivateCups>();
    if (!cups_->start() || !addTestQueue(*cups_, kA4Queue) || !addTestQueue(*cups_, kLetterQueue) ||
        !cups_->setDefault(kA4Queue)) {
        std::fprintf(stderr, "test session: %s\n", cups_->error().c_str());
        return false;
    }
    cups_->exportServer();
    return true;
}

std::string TestSession::ppdPath(const std::string& queue)
{
    return std::string(TOVRIMO_TEST_DATA) + "/ppd/" + queue + ".ppd";
}

bool TestSession::addTestQueue(PrivateCups& cups, const std::string& queue)
{
    return cups.addQueue(queue, ppdPath(queue));
}

void TestSession::TearDown()
{
    cups_.reset();
    x_.reset();
    if (!runtimeFolder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeFolder_, ignored);
        runtimeFolder_.clear();
    }
}

}  // namespace tovrimo::test
