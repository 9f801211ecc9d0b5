#include "harness/TestSession.h"

#include <cstdio>

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
    x_ = std::make_unique<XSession>(options_.x);
    if (!x_->start()) {
        std::fprintf(stderr, "test session: %s\n", x_->error().c_str());
        return false;
    }
    x_->exportDisplay();
    return true;
}

void TestSession::TearDown()
{
    x_.reset();
}

}  // namespace tovrimo::test
