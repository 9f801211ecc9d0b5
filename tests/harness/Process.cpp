#include "harness/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

extern char** environ;

namespace tovrimo::test {

namespace {

std::string MakeOutputFile(const std::string& folder, const char* stem)
{
    std::string pattern = (folder.empty() ? std::string("/tmp") : folder) + "/" + stem + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) return {};
    ::close(fd);
    return buffer.data();
}

std::vector<std::string> BuildEnvironment(const Process::Options& options)
{
    std::map<std::string, std::string> merged;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq == std::string::npos) continue;
        merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& name : options.unsetEnv) merged.erase(name);
    for (const auto& [name, value] : options.env) merged[name] = value;
    std::vector<std::string> result;
    for (const auto& [name, value] : merged) result.push_back(name + "=" + value);
    return result;
}

std::string FindExecutable(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    dirs += ":/usr/sbin:/sbin";  // cupsd lives there, and PATH may lack it for non-root users
    size_t begin = 0;
    while (begin <= dirs.size()) {
        size_t end = dirs.find(':', begin);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(begin, end - begin) + "/" + program;
        if (end > begin && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        begin = end + 1;
    }
    return {};
}

}  // namespace

std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Process::Process(const std::string& program, Options options)
    : program_(program), options_(std::move(options))
{
}

Process::~Process()
{
    if (pid_ > 0 && !exited_) stop();
    removeOutputFiles();
}

Process::Process(Process&& other) noexcept
{
    *this = std::move(other);
}

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        if (pid_ > 0 && !exited_) stop();
        removeOutputFiles();
        program_ = std::move(other.program_);
        options_ = std::move(other.options_);
        pid_ = std::exchange(other.pid_, -1);
        exited_ = other.exited_;
        signalled_ = other.signalled_;
        exitCode_ = other.exitCode_;
        stdoutPath_ = std::exchange(other.stdoutPath_, {});
        stderrPath_ = std::exchange(other.stderrPath_, {});
    }
    return *this;
}

void Process::removeOutputFiles()
{
    if (!stdoutPath_.empty()) ::unlink(stdoutPath_.c_str());
    if (!stderrPath_.empty()) ::unlink(stderrPath_.c_str());
    stdoutPath_.clear();
    stderrPath_.clear();
}

bool Process::start()
{
    if (pid_ > 0) return false;
    stdoutPath_ = MakeOutputFile(options_.outputDirectory, "tovrimo-out.");
    stderrPath_ = MakeOutputFile(options_.outputDirectory, "tovrimo-err.");
    const std::string executable = FindExecutable(program_);
    if (executable.empty()) return false;

    // Everything the child needs is prepared before fork: after it, only async-signal-safe
    // calls are allowed, since the test process has threads (Qt's among them).
    std::vector<std::string> argStrings{program_};
    argStrings.insert(argStrings.end(), options_.args.begin(), options_.args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = BuildEnvironment(options_);
    std::vector<char*> envp;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t parent = ::getpid();

    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        // A test runner killed by a timeout must not leave X servers and schedulers behind:
        // the child gets SIGTERM when we die. (It is tied to the thread that started it.)
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(127);
        struct sigaction dfl;
        std::memset(&dfl, 0, sizeof dfl);
        dfl.sa_handler = SIG_DFL;
        for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &dfl, nullptr);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(stdoutPath_.c_str(), O_WRONLY | O_TRUNC);
        const int err = ::open(stderrPath_.c_str(), O_WRONLY | O_TRUNC);
        if (in < 0 || out < 0 || err < 0) ::_exit(127);
        ::dup2(in, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        if (!options_.workingDirectory.empty() && ::chdir(options_.workingDirectory.c_str()) != 0)
            ::_exit(127);
        ::execve(executable.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    pid_ = pid;
    exited_ = false;
    signalled_ = false;
    exitCode_ = -1;
    return true;
}

Process Process::run(const std::string& program, Options options, std::chrono::milliseconds timeout)
{
    Process p(program, std::move(options));
    if (p.start() && !p.wait(timeout)) p.stop();
    return p;
}

void Process::reap(int status)
{
    exited_ = true;
    if (WIFEXITED(status)) {
        exitCode_ = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        signalled_ = true;
        exitCode_ = 128 + WTERMSIG(status);
    }
}

bool Process::running()
{
    if (pid_ <= 0 || exited_) return false;
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        reap(status);
        return false;
    }
    return r == 0;
}

std::optional<int> Process::wait(std::chrono::milliseconds timeout)
{
    if (pid_ <= 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (!running()) {
            if (exited_) return exitCode_;
            return std::nullopt;  // not our child any more: nothing to report
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void Process::signal(int sig)
{
    if (pid_ > 0 && !exited_) ::kill(pid_, sig);
}

void Process::stop(std::chrono::milliseconds grace)
{
    if (pid_ <= 0 || !running()) return;
    ::kill(pid_, SIGTERM);
    if (wait(grace)) return;
    ::kill(pid_, SIGKILL);
    wait(std::chrono::seconds(10));
}

std::string Process::standardOutput() const
{
    return stdoutPath_.empty() ? std::string() : ReadTextFile(stdoutPath_);
}

std::string Process::standardError() const
{
    return stderrPath_.empty() ? std::string() : ReadTextFile(stderrPath_);
}

std::string Process::commandLine() const
{
    std::string line = program_;
    for (const auto& a : options_.args) line += " " + a;
    return line;
}

}  // namespace tovrimo::test
