#include "harness/WaylandTestSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "harness/TestSession.h"

namespace tovrimo::test {

namespace {
WaylandTestSession* g_current = nullptr;
}

WaylandTestSession::WaylandTestSession(Options options) : options_(std::move(options))
{
    g_current = this;
}

WaylandTestSession::~WaylandTestSession()
{
    TearDown();
    if (g_current == this) g_current = nullptr;
}

WaylandTestSession& WaylandTestSession::current()
{
    return *g_current;
}

bool WaylandTestSession::startAll()
{
    ::unsetenv("DISPLAY");
    if (options_.printers) {
        cups_ = std::make_unique<PrivateCups>();
        if (!cups_->start() || !TestSession::addTestQueue(*cups_, TestSession::kA4Queue) ||
            !TestSession::addTestQueue(*cups_, TestSession::kLetterQueue) ||
            !cups_->setDefault(TestSession::kA4Queue)) {
            std::fprintf(stderr, "wayland test session: %s\n", cups_->error().c_str());
            return false;
        }
        cups_->exportServer();
    }
    wayland_ = std::make_unique<WaylandSession>(options_.wayland);
    if (!wayland_->start()) {
        std::fprintf(stderr, "wayland test session: %s\n", wayland_->error().c_str());
        return false;
    }
    const WaylandSession::Timings& t = wayland_->timings();
    std::printf("wayland test session: up in %lld ms (sway %lld ms, portals %lld ms), as uid %u\n",
                static_cast<long long>(t.total.count()), static_cast<long long>(t.sway.count()),
                static_cast<long long>(t.portal.count()), static_cast<unsigned>(wayland_->uid()));
    return true;
}

void WaylandTestSession::TearDown()
{
    wayland_.reset();
    cups_.reset();
    binary_.clear();
}

std::unique_ptr<TovrimoProcess> WaylandTestSession::tovrimo(
    const std::map<std::string, std::string>& env)
{
    std::map<std::string, std::string> all = wayland_->environment();
    if (cups_) all["CUPS_SERVER"] = cups_->socketPath();
    for (const auto& [name, value] : env) all[name] = value;
    auto program = std::make_unique<TovrimoProcess>(std::string(), all);
    // A running copy cannot be replaced (the file is busy), and need not be: one copy serves
    // every test of the run.
    if (binary_.empty()) binary_ = wayland_->installProgram(program->binary());
    program->setBinary(binary_);
    const std::string& folder = program->programFolder();
    if (wayland_->uid() != ::geteuid()) {
        if (::chown(folder.c_str(), wayland_->uid(), wayland_->gid()) != 0) return nullptr;
        program->runAs(wayland_->uid(), wayland_->gid());
    }
    ::chmod(folder.c_str(), 0755);
    return program;
}

}  // namespace tovrimo::test
