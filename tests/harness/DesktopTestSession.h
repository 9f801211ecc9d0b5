#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "harness/DesktopSession.h"
#include "harness/PrivateCups.h"
#include "harness/TovrimoProcess.h"

namespace tovrimo::test {

// What a run of one desktop's tests shares: a headless session of that desktop (KWin or
// GNOME) and a private cupsd with the test queues of TestSession ("TovA4", the default, and
// "TovLetter"). Started from main(), which gives up loudly when the machine cannot provide it:
// a missing desktop package is a failed run, never a skipped one.
class DesktopTestSession : public ::testing::Environment {
public:
    explicit DesktopTestSession(DesktopSession::Options options);
    ~DesktopTestSession() override;

    // Starts everything and exports CUPS_SERVER (and drops DISPLAY); false, with the reason
    // printed, when something did not come up.
    bool startAll();
    void TearDown() override;

    static DesktopTestSession& current();
    DesktopSession& desktop() { return *desktop_; }
    PrivateCups& cups() { return *cups_; }

    // The built program, ready to start in the session as its user, with a program folder of
    // its own. Always the same copy of the binary (installProgram of the build), at
    // binaryPath(): what a .desktop entry for it must name.
    std::unique_ptr<TovrimoProcess> tovrimo(const std::map<std::string, std::string>& env = {});
    const std::string& binaryPath();

private:
    DesktopSession::Options options_;
    std::unique_ptr<DesktopSession> desktop_;
    std::unique_ptr<PrivateCups> cups_;
    std::string binary_;
};

// main() of a desktop's end-to-end area.
int RunDesktopTests(int argc, char** argv, DesktopSession::Desktop desktop);

}  // namespace tovrimo::test
