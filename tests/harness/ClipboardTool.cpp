#include "harness/ClipboardTool.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "harness/XSession.h"

namespace tovrimo::test {

ClipboardTool::ClipboardTool(std::string display) : display_(std::move(display))
{
    if (display_.empty()) {
        const char* env = std::getenv("DISPLAY");
        display_ = env ? env : "";
    }
    char pattern[] = "/tmp/tovrimo-clip.XXXXXX";
    if (::mkdtemp(pattern)) folder_ = pattern;
}

ClipboardTool::~ClipboardTool()
{
    stopOffering();
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool ClipboardTool::offer(const std::string& file, const std::string& mimeType)
{
    stopOffering();
    Process::Options opts;
    opts.args = {"-quiet", "-selection", "clipboard", "-t", mimeType, "-i", file};
    opts.env["DISPLAY"] = display_;
    owner_ = std::make_unique<Process>("xclip", opts);
    if (!owner_->start()) return false;
    // xclip owns the selection once it serves it; wait until a reader sees the offer.
    return WaitFor([&] { return readTargets().find(mimeType) != std::string::npos; },
                   std::chrono::seconds(5));
}

bool ClipboardTool::offerImage(const QImage& image)
{
    const std::string file = folder_ + "/offer.png";
    return image.save(QString::fromStdString(file), "PNG") && offer(file, "image/png");
}

bool ClipboardTool::offerText(const std::string& text)
{
    const std::string file = folder_ + "/offer.txt";
    std::ofstream(file, std::ios::binary) << text;
    return offer(file, "UTF8_STRING");
}

void ClipboardTool::stopOffering()
{
    if (owner_) owner_->stop();
    owner_.reset();
}

std::string ClipboardTool::readTargets()
{
    Process::Options opts;
    opts.args = {"-selection", "clipboard", "-t", "TARGETS", "-o"};
    opts.env["DISPLAY"] = display_;
    return Process::run("xclip", opts, std::chrono::seconds(10)).standardOutput();
}

QImage ClipboardTool::readImage()
{
    Process::Options opts;
    opts.args = {"-selection", "clipboard", "-t", "image/png", "-o"};
    opts.env["DISPLAY"] = display_;
    const Process p = Process::run("xclip", opts, std::chrono::seconds(10));
    if (!p.exitedNormally() || p.exitCode() != 0) return {};
    QImage image;
    image.load(QString::fromStdString(p.stdoutPath()), "PNG");
    return image;
}

}  // namespace tovrimo::test
