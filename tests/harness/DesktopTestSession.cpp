#include "harness/DesktopTestSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "harness/TestSession.h"

namespace tovrimo::test {

namespace {
DesktopTestSession* g_current = nullptr;
}

DesktopTestSession::DesktopTestSession(DesktopSession::Options options) : options_(options)
{
    g_current = this;
}

DesktopTestSession::~DesktopTestSession()
{
    TearDown();
    if (g_current == this) g_current = nullptr;
}

DesktopTestSession& DesktopTestSession::current()
{
    return *g_current;
}

bool DesktopTestSession::startAll()
{
    ::unsetenv("DISPLAY");
    cups_ = std::make_unique<PrivateCups>();
    if (!cups_->start() || !TestSession::addTestQueue(*cups_, TestSession::kA4Queue) ||
        !TestSession::addTestQueue(*cups_, TestSession::kLetterQueue) ||
        !cups_->setDefault(TestSession::kA4Queue)) {
        std::fprintf(stderr, "desktop test session: %s\n", cups_->error().c_str());
        return false;
    }
    cups_->exportServer();
    desktop_ = std::make_unique<DesktopSession>(options_);
    if (!desktop_->start()) {
        std::fprintf(stderr, "desktop test session: %s\n", desktop_->error().c_str());
        return false;
    }
    std::printf("desktop test session: %s up in %lld ms (compositor %lld ms), as uid %u\n",
                options_.desktop == DesktopSession::Desktop::KWin ? "KWin" : "GNOME Shell",
                static_cast<long long>(desktop_->totalTime().count()),
                static_cast<long long>(desktop_->compositorTime().count()),
                static_cast<unsigned>(desktop_->uid()));
    return true;
}

void DesktopTestSession::TearDown()
{
    desktop_.reset();
    cups_.reset();
    binary_.clear();
}

const std::string& DesktopTestSession::binaryPath()
{
    if (binary_.empty()) binary_ = desktop_->installProgram(TovrimoProcess().binary());
    return binary_;
}

std::unique_ptr<TovrimoProcess> DesktopTestSession::tovrimo(
    const std::map<std::string, std::string>& env)
{
    std::map<std::string, std::string> all = desktop_->environment();
    all["CUPS_SERVER"] = cups_->socketPath();
    for (const auto& [name, value] : env) all[name] = value;
    auto program = std::make_unique<TovrimoProcess>(std::string(), all);
    program->setBinary(binaryPath());
    const std::string& folder = program->programFolder();
    if (desktop_->uid() != ::geteuid()) {
        if (::chown(folder.c_str(), desktop_->uid(), desktop_->gid()) != 0) return nullptr;
        program->runAs(desktop_->uid(), desktop_->gid());
    }
    ::chmod(folder.c_str(), 0755);
    return program;
}

int RunDesktopTests(int argc, char** argv, DesktopSession::Desktop desktop)
{
    ::testing::InitGoogleTest(&argc, argv);
    DesktopSession::Options options;
    options.desktop = desktop;
    auto* session = new DesktopTestSession(options);
    if (!session->startAll()) {
        delete session;
        return 1;
    }
    ::testing::AddGlobalTestEnvironment(session);  // gtest owns it from here
    return RUN_ALL_TESTS();
}

}  // namespace tovrimo::test
