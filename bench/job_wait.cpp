// Waits until a CUPS queue has no job left that is not finished (pending, held, processing or
// stopped), polling every 2 ms; the benchmark's "page done" mark. Exit 1 after 60 s.
// Usage: job_wait QUEUE (the scheduler from CUPS_SERVER).
#include <cups/cups.h>

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: job_wait QUEUE\n");
        return 2;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, argv[1], 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(count, jobs);
        if (count == 0) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::fprintf(stderr, "job_wait: %s still has jobs after 60 s\n", argv[1]);
    return 1;
}
