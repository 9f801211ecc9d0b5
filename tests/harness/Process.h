#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tovrimo::test {

// A child program started by a test. Its output goes to files so that a chatty program can
// never block on a full pipe; the destructor stops it (SIGTERM, then SIGKILL) when the test
// did not wait for it.
class Process {
public:
    struct Options {
        Options() = default;
        // Process::run("lpstat", {{"-r"}}) reads better than filling the fields one by one.
        Options(std::vector<std::string> arguments,
                std::map<std::string, std::string> environment = {})
            : args(std::move(arguments)), env(std::move(environment))
        {
        }

        std::vector<std::string> args;           // without the program itself
        std::map<std::string, std::string> env;  // added to (or replacing) our environment
        std::vector<std::string> unsetEnv;       // removed from the inherited environment
        std::string workingDirectory;            // empty: ours
        std::string outputDirectory;             // where stdout/stderr files go; empty: /tmp
    };

    Process() = default;
    Process(const std::string& program, Options options);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    // Starts the program; false when it could not be started at all.
    bool start();
    // Convenience: start and wait, for short command-line tools.
    static Process run(const std::string& program, Options options,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30));

    bool running();
    pid_t pid() const { return pid_; }
    // Waits for the exit; nothing when the timeout passed first (the process keeps running).
    std::optional<int> wait(std::chrono::milliseconds timeout);
    // SIGTERM, then SIGKILL after the grace period; returns once the process is reaped.
    void stop(std::chrono::milliseconds grace = std::chrono::seconds(3));
    // Sends a signal to the process only (never to a group).
    void signal(int sig);

    // Exit code when it exited normally; -1 before it ended, 128 + n after signal n.
    int exitCode() const { return exitCode_; }
    bool exitedNormally() const { return exited_ && !signalled_; }
    bool finished() const { return exited_; }

    std::string standardOutput() const;
    std::string standardError() const;
    const std::string& stdoutPath() const { return stdoutPath_; }
    const std::string& stderrPath() const { return stderrPath_; }
    std::string commandLine() const;

private:
    void reap(int status);
    void removeOutputFiles();

    std::string program_;
    Options options_;
    pid_t pid_ = -1;
    bool exited_ = false;
    bool signalled_ = false;
    int exitCode_ = -1;
    std::string stdoutPath_;
    std::string stderrPath_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadTextFile(const std::string& path);

}  // namespace tovrimo::test
