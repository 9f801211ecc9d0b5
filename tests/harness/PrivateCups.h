#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "harness/Process.h"

namespace tovrimo::test {

// A cupsd of our own, configured in a temporary folder and listening only on a domain socket
// there. Queues print through the file backend into <folder>/out/<queue>.pdf. Clients reach it
// through CUPS_SERVER=socketPath(); the system's scheduler is never involved.
class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Writes the configuration (first time only) and starts the scheduler; waits until it
    // answers. Queues made before a stop() are still there after the next start().
    bool start();
    void stop();
    bool running();

    // Queue management through the command-line tools; false with error() set on failure.
    bool addQueue(const std::string& name, const std::string& ppdPath);
    // A queue to an IPP printer: with everywhere, CUPS makes a PPD from what the printer
    // reports (lpadmin -m everywhere); without, the queue has no PPD at all.
    bool addIppQueue(const std::string& name, const std::string& uri, bool everywhere);
    bool setDefault(const std::string& name);
    bool rejectJobs(const std::string& name);
    bool acceptJobs(const std::string& name);
    bool deleteQueue(const std::string& name);

    const std::string& folder() const { return folder_; }
    const std::string& socketPath() const { return socket_; }
    std::string outputPdf(const std::string& queue) const;
    // Removes what earlier jobs wrote for the queue, so that the next output is the next job.
    void clearOutput(const std::string& queue) const;

    // Waits until every job has reached a final state (completed, cancelled or aborted); a
    // file in the output folder is no proof that the backend has finished writing it.
    bool waitForJobs(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // How many jobs the scheduler has seen, finished or not: a refusal creates none.
    int jobCount() const;
    // States of all jobs, oldest first (IPP job-state numbers: 9 completed, 8 aborted ...).
    std::vector<int> jobStates() const;

    // Sets CUPS_SERVER in this process. libcups remembers the server per thread from the
    // first call on, so do this before anything in the thread talks to CUPS.
    void exportServer() const;
    const std::string& error() const { return error_; }
    std::string errorLog() const;

private:
    bool writeConfiguration();
    Process tool(const std::string& program, std::vector<std::string> args);

    std::string folder_;
    std::string socket_;
    std::string error_;
    std::unique_ptr<Process> daemon_;
};

// Minimal one-page PDF documents for submitting to a queue without the program: a sheet of the
// given size in points with a black box of boxW x boxH points in its top-left corner.
std::string WriteMarkedPdf(const std::string& path, int widthPt, int heightPt, int boxWidthPt,
                           int boxHeightPt);

}  // namespace tovrimo::test
