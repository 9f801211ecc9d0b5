#pragma once

#include "platform/SingleInstance.h"
#include "platform/TrayHostWatcher.h"

namespace tovrimo::test {

// A desktop whose notification area comes and goes when the test says so.
class FakeTrayHostWatcher : public TrayHostWatcher {
public:
    bool available() const override { return present; }
    bool hostDrawsMenus() const override { return drawsMenus; }
    void appear()
    {
        present = true;
        emit appeared();
    }
    bool present = false;
    bool drawsMenus = false;
};

// Answers claim() as told and counts the claims.
class FakeSingleInstance : public SingleInstance {
public:
    Claim claim() override
    {
        ++claims;
        return answer;
    }
    void requestMenu() { emit menuRequested(); }
    Claim answer = Claim::Resident;
    int claims = 0;
};

}  // namespace tovrimo::test
