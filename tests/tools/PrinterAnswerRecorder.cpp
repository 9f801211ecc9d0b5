// Writes what each simulated printer answers to Get-Printer-Attributes, as the IPP message
// itself, into a folder: the starting inputs for fuzzing the printer description. The printers
// are ippeveprinter's own and those of the attribute files given.
//   record_printer_answers <folder> [name=file.attrs ...]
#include <cups/cups.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "harness/IppEverywhere.h"

namespace {

ssize_t WriteFd(void* context, ipp_uchar_t* buffer, size_t bytes)
{
    return ::write(*static_cast<int*>(context), buffer, bytes);
}

bool Save(const std::string& uri, const std::string& path)
{
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, uri.c_str(), scheme, sizeof scheme, user, sizeof user,
                        host, sizeof host, &port, resource, sizeof resource) < HTTP_URI_STATUS_OK)
        return false;
    http_t* http = httpConnect2(host, port, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1,
                                10000, nullptr);
    if (!http) return false;
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    const char* wanted[] = {"all", "media-col-database"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr,
                  wanted);
    ipp_t* response = cupsDoRequest(http, request, resource);
    httpClose(http);
    if (!response) return false;
    FILE* out = std::fopen(path.c_str(), "wb");
    bool ok = false;
    if (out) {
        int fd = ::fileno(out);
        ippSetState(response, IPP_STATE_IDLE);
        ok = ippWriteIO(&fd, WriteFd, 1, nullptr, response) == IPP_STATE_DATA;
        std::fclose(out);
    }
    ippDelete(response);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: record_printer_answers <folder> [name=file.attrs ...]\n");
        return 2;
    }
    tovrimo::test::IppEverywhere printers;
    if (!printers.start()) {
        std::fprintf(stderr, "%s\n", printers.error().c_str());
        return 1;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        // The first round is ippeveprinter's own printer; then one per attribute file.
        std::string name = "stock", file;
        if (i > 1) {
            const std::string arg = argv[i];
            const auto eq = arg.find('=');
            name = arg.substr(0, eq);
            file = eq == std::string::npos ? "" : arg.substr(eq + 1);
        }
        const auto* printer = printers.addPrinter(name, file);
        if (!printer || !Save(printer->uri, std::string(argv[1]) + "/" + name)) {
            std::fprintf(stderr, "%s: no answer (%s)\n", name.c_str(), printers.error().c_str());
            status = 1;
        }
    }
    printers.stop();
    return status;
}
