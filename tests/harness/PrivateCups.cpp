#include "harness/PrivateCups.h"

#include <cups/cups.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "harness/XSession.h"

namespace tovrimo::test {

namespace {

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// The scheduler's own connection for the harness's queries: an explicit connection to the
// socket, because libcups's default server is fixed per thread and may belong to another
// scheduler (a test can run several).
class Connection {
public:
    explicit Connection(const std::string& socket)
        : http_(httpConnect2(socket.c_str(), 0, nullptr, AF_LOCAL, HTTP_ENCRYPTION_IF_REQUESTED, 1,
                             5000, nullptr))
    {
    }
    ~Connection()
    {
        if (http_) httpClose(http_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    http_t* get() const { return http_; }

private:
    http_t* http_;
};

}  // namespace

PrivateCups::PrivateCups() = default;

PrivateCups::~PrivateCups()
{
    stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool PrivateCups::writeConfiguration()
{
    char pattern[] = "/tmp/tovrimo-cups.XXXXXX";
    if (!::mkdtemp(pattern)) {
        error_ = "cannot make a temporary folder";
        return false;
    }
    folder_ = pattern;
    socket_ = folder_ + "/cups.sock";
    // cupsd drops to user lp for filters and backends: every folder on the way must be
    // traversable by it, its temporary folder writable, and the output folder too.
    ::chmod(folder_.c_str(), 0755);
    for (const char* sub : {"spool", "cache", "state", "log", "out", "tmp"}) {
        const std::string path = folder_ + "/" + sub;
        ::mkdir(path.c_str(), 0755);
    }
    ::chmod((folder_ + "/tmp").c_str(), 01777);
    ::chmod((folder_ + "/out").c_str(), 0777);
    const std::string files = "ServerRoot " + folder_ + "\n" + "RequestRoot " + folder_ +
                              "/spool\n" + "TempDir " + folder_ + "/tmp\n" + "CacheDir " + folder_ +
                              "/cache\n" + "StateDir " + folder_ + "/state\n" + "ErrorLog " +
                              folder_ + "/log/error_log\n" + "AccessLog " + folder_ +
                              "/log/access_log\n" + "PageLog " + folder_ + "/log/page_log\n" +
                              "Printcap " + folder_ + "/printcap\n" +
                              "FileDevice Yes\n"
                              "SystemGroup root\n";
    const std::string daemon = "Listen " + socket_ + "\n" +
                               "Browsing No\n"
                               "WebInterface No\n"
                               "LogLevel warn\n"
                               "<Location />\n"
                               "  Order allow,deny\n"
                               "  Allow localhost\n"
                               "</Location>\n";
    if (!WriteFile(folder_ + "/cups-files.conf", files) ||
        !WriteFile(folder_ + "/cupsd.conf", daemon)) {
        error_ = "cannot write the scheduler's configuration";
        return false;
    }
    return true;
}

bool PrivateCups::start()
{
    if (daemon_ && daemon_->running()) return true;
    if (folder_.empty() && !writeConfiguration()) return false;
    Process::Options opts;
    opts.args = {"-f", "-c", folder_ + "/cupsd.conf", "-s", folder_ + "/cups-files.conf"};
    opts.outputDirectory = folder_ + "/log";
    daemon_ = std::make_unique<Process>("cupsd", opts);
    if (!daemon_->start()) {
        error_ = "cupsd could not be started";
        return false;
    }
    const bool up = WaitFor(
        [&] {
            if (!daemon_->running()) return true;
            Process probe = tool("lpstat", {"-r"});
            return probe.standardOutput().find("scheduler is running") != std::string::npos;
        },
        std::chrono::seconds(15));
    if (!up || !daemon_->running()) {
        error_ = "cupsd did not come up: " + daemon_->standardError() + errorLog();
        return false;
    }
    return true;
}

void PrivateCups::stop()
{
    if (daemon_) daemon_->stop();
    daemon_.reset();
}

bool PrivateCups::running()
{
    return daemon_ && daemon_->running();
}

Process PrivateCups::tool(const std::string& program, std::vector<std::string> args)
{
    Process::Options opts;
    opts.args = {"-h", socket_};
    opts.args.insert(opts.args.end(), args.begin(), args.end());
    opts.env["CUPS_SERVER"] = socket_;
    Process p = Process::run(program, opts, std::chrono::seconds(30));
    if (!p.exitedNormally() || p.exitCode() != 0)
        error_ = p.commandLine() + ": " + p.standardError() + p.standardOutput();
    return p;
}

bool PrivateCups::addQueue(const std::string& name, const std::string& ppdPath)
{
    const Process p =
        tool("lpadmin", {"-p", name, "-E", "-v", "file://" + outputPdf(name), "-P", ppdPath});
    return p.exitedNormally() && p.exitCode() == 0;
}

bool PrivateCups::addIppQueue(const std::string& name, const std::string& uri, bool everywhere)
{
    std::vector<std::string> args = {"-p", name, "-E", "-v", uri};
    if (everywhere) args.insert(args.end(), {"-m", "everywhere"});
    const Process p = tool("lpadmin", args);
    return p.exitedNormally() && p.exitCode() == 0;
}

bool PrivateCups::setDefault(const std::string& name)
{
    const Process p = tool("lpadmin", {"-d", name});
    return p.exitedNormally() && p.exitCode() == 0;
}

bool PrivateCups::rejectJobs(const std::string& name)
{
    const Process p = tool("cupsreject", {"-r", "Tovrimo test queue rejects jobs", name});
    return p.exitedNormally() && p.exitCode() == 0;
}

bool PrivateCups::acceptJobs(const std::string& name)
{
    const Process p = tool("cupsaccept", {name});
    return p.exitedNormally() && p.exitCode() == 0;
}

bool PrivateCups::deleteQueue(const std::string& name)
{
    const Process p = tool("lpadmin", {"-x", name});
    return p.exitedNormally() && p.exitCode() == 0;
}

std::string PrivateCups::outputPdf(const std::string& queue) const
{
    return folder_ + "/out/" + queue + ".pdf";
}

void PrivateCups::clearOutput(const std::string& queue) const
{
    ::unlink(outputPdf(queue).c_str());
}

std::vector<int> PrivateCups::jobStates() const
{
    std::vector<int> states;
    Connection http(socket_);
    if (!http.get()) return states;
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(http.get(), &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < n; ++i) states.push_back(jobs[i].state);
    cupsFreeJobs(n, jobs);
    return states;
}

int PrivateCups::jobCount() const
{
    return static_cast<int>(jobStates().size());
}

bool PrivateCups::waitForJobs(std::chrono::milliseconds timeout) const
{
    return WaitFor(
        [&] {
            for (int state : jobStates())
                if (state < IPP_JSTATE_STOPPED) return false;
            return true;
        },
        timeout);
}

void PrivateCups::exportServer() const
{
    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
}

std::string PrivateCups::errorLog() const
{
    return ReadTextFile(folder_ + "/log/error_log");
}

std::string WriteMarkedPdf(const std::string& path, int widthPt, int heightPt, int boxWidthPt,
                           int boxHeightPt)
{
    std::ostringstream content;
    content << "0 0 0 rg 0 " << heightPt - boxHeightPt << " " << boxWidthPt << " " << boxHeightPt
            << " re f\n";
    const std::string stream = content.str();
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(widthPt) + " " +
            std::to_string(heightPt) + "] /Contents 4 0 R >>",
        "<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream + "endstream"};
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\n" +
           "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return WriteFile(path, pdf) ? path : std::string();
}

}  // namespace tovrimo::test
