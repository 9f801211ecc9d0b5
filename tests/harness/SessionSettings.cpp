#include "harness/SessionSettings.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/XSession.h"

namespace tovrimo::test {

namespace {

bool Succeeded(const Process& p)
{
    return p.exitedNormally() && p.exitCode() == 0;
}

std::string Display()
{
    return TestSession::current().x().display();
}

// xrdb reads its input from a file; -nocpp keeps the C preprocessor out of it.
bool Xrdb(const std::string& mode, const std::string& resources)
{
    const std::string file = "/tmp/tovrimo-xrdb-" + std::to_string(::getpid()) + ".txt";
    {
        std::ofstream out(file);
        out << resources;
    }
    const Process p = Process::run("xrdb", {{"-nocpp", "-display", Display(), mode, file}});
    std::remove(file.c_str());
    return Succeeded(p);
}

}  // namespace

XftDpi::XftDpi(int dpi)
{
    const Process query = Process::run("xrdb", {{"-display", Display(), "-query"}});
    if (!Succeeded(query)) return;
    saved_ = query.standardOutput();
    ok_ = Xrdb("-merge", "Xft.dpi:\t" + std::to_string(dpi) + "\n");
}

XftDpi::~XftDpi()
{
    if (saved_.empty()) {
        Process::run("xrdb", {{"-display", Display(), "-remove"}});
    } else {
        Xrdb("-load", saved_);
    }
}

KeyboardLayout::KeyboardLayout(const std::string& layout)
{
    const Process query = Process::run("setxkbmap", {{"-display", Display(), "-query"}});
    if (!Succeeded(query)) return;
    std::istringstream lines(query.standardOutput());
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string key, value;
        if (words >> key >> value && key == "layout:") previous_ = value;
    }
    if (previous_.empty()) previous_ = "us";
    ok_ = Succeeded(Process::run("setxkbmap", {{"-display", Display(), layout}}));
}

KeyboardLayout::~KeyboardLayout()
{
    Process::run("setxkbmap", {{"-display", Display(), previous_}});
}

}  // namespace tovrimo::test
