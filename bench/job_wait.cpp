// Waits until a CUPS queue has no job left that is not finished (pending, held, processing or
// stopped), polling every 2 ms; the benchmark's "page done" mark. Exit 1 after 60 s.
// Usage: job_wait QUEUE             no unfinished job left
//        job_wait QUEUE --after N   as above, once a job newer than job N has come (for a job
//                                   that another program submits after the clock started)
//        job_wait QUEUE --last      prints the newest job's id (0 for none) and exits
// The scheduler comes from CUPS_SERVER; --after and --last need the job history kept.
#include <cups/cups.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

int NewestJob(const char* queue)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
    int newest = 0;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > newest) newest = jobs[i].id;
    cupsFreeJobs(count, jobs);
    return newest;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 3 && std::strcmp(argv[2], "--last") == 0) &&
        !(argc == 4 && std::strcmp(argv[2], "--after") == 0)) {
        std::fprintf(stderr, "usage: job_wait QUEUE [--after N | --last]\n");
        return 2;
    }
    if (argc == 3) {
        std::printf("%d\n", NewestJob(argv[1]));
        return 0;
    }
    const int after = argc == 4 ? std::atoi(argv[3]) : -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (after < 0 || NewestJob(argv[1]) > after) {
            cups_job_t* jobs = nullptr;
            const int count =
                cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, argv[1], 0, CUPS_WHICHJOBS_ACTIVE);
            cupsFreeJobs(count, jobs);
            if (count == 0) return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::fprintf(stderr, "job_wait: %s still has jobs after 60 s\n", argv[1]);
    return 1;
}
