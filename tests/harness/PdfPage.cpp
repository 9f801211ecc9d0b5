#include "harness/PdfPage.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "harness/Process.h"

namespace tovrimo::test {

PdfPage::PdfPage(std::string path) : path_(std::move(path)) {}

bool PdfPage::exists() const
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path_, ec) && std::filesystem::file_size(path_, ec) > 0;
}

bool PdfPage::isPlainPdf() const
{
    return ReadTextFile(path_).rfind("%PDF-", 0) == 0;
}

std::string PdfPage::pdfinfo() const
{
    Process::Options opts;
    opts.args = {path_};
    return Process::run("pdfinfo", opts).standardOutput();
}

int PdfPage::pageCount() const
{
    std::smatch m;
    const std::string info = pdfinfo();
    if (std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))"))) return std::stoi(m[1]);
    return 0;
}

QSizeF PdfPage::mediaSizePoints() const
{
    std::smatch m;
    const std::string info = pdfinfo();
    if (std::regex_search(info, m, std::regex(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)")))
        return QSizeF(std::stod(m[1]), std::stod(m[2]));
    return {};
}

int PdfPage::rotationDegrees() const
{
    std::smatch m;
    const std::string info = pdfinfo();
    if (std::regex_search(info, m, std::regex(R"(Page rot:\s+(\d+))"))) return std::stoi(m[1]);
    return 0;
}

QSizeF PdfPage::sheetSizePoints() const
{
    const QSizeF media = mediaSizePoints();
    return rotationDegrees() % 180 == 0 ? media : media.transposed();
}

QImage PdfPage::render(int dpi) const
{
    char pattern[] = "/tmp/tovrimo-render.XXXXXX";
    if (!::mkdtemp(pattern)) return {};
    const std::string folder = pattern;
    Process::Options opts;
    opts.args = {"-r", std::to_string(dpi), "-f",   "1",   "-l",
                 "1",  "-singlefile",       "-png", path_, folder + "/page"};
    Process::run("pdftoppm", opts, std::chrono::seconds(60));
    QImage image(QString::fromStdString(folder + "/page.png"));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return image.convertToFormat(QImage::Format_RGB32);
}

std::string PdfPage::text() const
{
    Process::Options opts;
    opts.args = {"-layout", "-f", "1", "-l", "1", path_, "-"};
    return Process::run("pdftotext", opts).standardOutput();
}

std::vector<PdfPage::EmbeddedImage> PdfPage::images() const
{
    Process::Options opts;
    opts.args = {"-list", path_};
    std::istringstream lines(Process::run("pdfimages", opts).standardOutput());
    std::vector<EmbeddedImage> found;
    std::string line;
    bool body = false;
    while (std::getline(lines, line)) {
        if (!body) {
            body = line.rfind("----", 0) == 0;
            continue;
        }
        // page num type width height color comp bpc enc interp object ...
        std::istringstream fields(line);
        int pageNumber = 0, number = 0, components = 0, bits = 0;
        std::string type;
        EmbeddedImage image;
        if (fields >> pageNumber >> number >> type >> image.width >> image.height >> image.color >>
            components >> bits >> image.encoding >> image.interpolate)
            found.push_back(image);
    }
    return found;
}

QImage PdfPage::firstImage() const
{
    char pattern[] = "/tmp/tovrimo-images.XXXXXX";
    if (!::mkdtemp(pattern)) return {};
    const std::string folder = pattern;
    Process::Options opts;
    opts.args = {"-png", "-f", "1", "-l", "1", path_, folder + "/im"};
    Process::run("pdfimages", opts, std::chrono::seconds(60));
    QImage image(QString::fromStdString(folder + "/im-000.png"));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace tovrimo::test
