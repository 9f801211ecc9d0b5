#pragma once

#include <string>

namespace tovrimo {

// Why a printer or the printing system would not take a job, in the words the user reads.
enum class Refusal {
    PrinterStopped,
    NotAcceptingJobs,
    PrinterNotFound,
    PaperSizeNotOffered,
    PaperSourceNotOffered,
    SchedulerUnreachable,
    PermissionDenied,
    Other,
};

// The kind of refusal behind an IPP status (ipp_status_t as a number) and libcups's text.
Refusal ClassifyRefusal(int ippStatus, const std::string& text);

// A Japanese sentence for the common kinds; for the rest, a general sentence with the printing
// system's own text in parentheses, so that nothing it said is lost.
std::string RefusalText(Refusal kind, const std::string& raw = {});

}  // namespace tovrimo
