#include "platform/wayland/WaylandClipboard.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>

namespace tovrimo {

namespace {

constexpr int kToolTimeoutMs = 3000;

// The image types we read, best first; anything else image/* after them.
const char* const kPreferredTypes[] = {"image/png", "image/bmp", "image/x-bmp", "image/jpeg"};

bool RunTool(const QString& program, const QStringList& arguments, const QByteArray& input,
             QByteArray* output)
{
    QProcess tool;
    // wl-copy leaves a child behind that serves the clipboard; it must not hold our pipes.
    if (!output) tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(program, arguments);
    if (!tool.waitForStarted(kToolTimeoutMs)) return false;
    if (!input.isNull()) tool.write(input);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(kToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished(kToolTimeoutMs);
        return false;
    }
    if (output) *output = tool.readAllStandardOutput();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

}  // namespace

WaylandClipboard::WaylandClipboard(ClipboardAccess& fallback, QString copyTool, QString pasteTool)
    : copyTool_(copyTool.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("wl-copy"))
                                   : std::move(copyTool)),
      pasteTool_(pasteTool.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("wl-paste"))
                                     : std::move(pasteTool)),
      fallback_(fallback)
{
}

void WaylandClipboard::setImage(const QImage& image)
{
    if (copyTool_.isEmpty()) {
        fallback_.setImage(image);
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    if (!RunTool(copyTool_, {QStringLiteral("--type"), QStringLiteral("image/png")}, png, nullptr))
        fallback_.setImage(image);
}

QStringList WaylandClipboard::imageTypes()
{
    QByteArray listed;
    if (!RunTool(pasteTool_, {QStringLiteral("--list-types")}, QByteArray(), &listed)) return {};
    const QStringList offered =
        QString::fromUtf8(listed).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList types;
    for (const char* preferred : kPreferredTypes) {
        if (offered.contains(QLatin1String(preferred))) types << QLatin1String(preferred);
    }
    for (const QString& type : offered) {
        if (type.startsWith(QLatin1String("image/")) && !types.contains(type)) types << type;
    }
    return types;
}

bool WaylandClipboard::hasImage()
{
    if (pasteTool_.isEmpty()) return fallback_.hasImage();
    return !imageTypes().isEmpty();
}

QImage WaylandClipboard::image()
{
    if (pasteTool_.isEmpty()) return fallback_.image();
    for (const QString& type : imageTypes()) {
        QByteArray bytes;
        if (!RunTool(pasteTool_, {QStringLiteral("--no-newline"), QStringLiteral("--type"), type},
                     QByteArray(), &bytes))
            continue;
        const QImage image = QImage::fromData(bytes);
        if (!image.isNull()) return image;
    }
    return QImage();
}

}  // namespace tovrimo
