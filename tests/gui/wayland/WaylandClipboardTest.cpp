// The Wayland clipboard's use of wl-copy and wl-paste, against stand-in tools that record what
// they were asked and answer from files the test prepares.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>

#include "doubles/RecordingClipboard.h"
#include "platform/wayland/WaylandClipboard.h"

namespace tovrimo {
namespace {

class WaylandClipboardTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    test::RecordingClipboard fallback;

    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    // A stand-in tool: a shell script with the given body, executable.
    QString tool(const char* name, const std::string& body) const
    {
        const QString file = path(name);
        std::ofstream(file.toStdString()) << "#!/bin/sh\n" << body;
        ::chmod(file.toLocal8Bit().constData(), 0755);
        return file;
    }

    // wl-copy: records its arguments and the bytes it was given.
    QString copyTool(int exitCode = 0) const
    {
        return tool("wl-copy", "echo \"$@\" > '" + path("copy-args").toStdString() + "'\ncat > '" +
                                   path("copied").toStdString() + "'\nexit " +
                                   std::to_string(exitCode) + "\n");
    }
    // wl-paste: lists the types in the file "types" and gives the file "offer.<type with / as
    // _>" for a type; records every call.
    QString pasteTool() const
    {
        const std::string dir = folder.path().toStdString();
        return tool("wl-paste", "echo \"$@\" >> '" + dir +
                                    "/paste-calls'\n"
                                    "if [ \"$1\" = --list-types ]; then cat '" +
                                    dir +
                                    "/types' 2>/dev/null || exit 1; exit 0; fi\n"
                                    "f='" +
                                    dir +
                                    "/offer.'$(echo \"$3\" | tr / _)\n"
                                    "[ -f \"$f\" ] || exit 1\ncat \"$f\"\n");
    }
    void offer(const char* type, const QByteArray& bytes) const
    {
        QString name = QString::fromLatin1(type);
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        QFile file(path("offer.") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void listTypes(const char* types) const { std::ofstream(path("types").toStdString()) << types; }
    QByteArray read(const char* name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray Encoded(const QImage& image, const char* format)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }
    static QImage Picture(QRgb colour)
    {
        QImage image(40, 24, QImage::Format_RGB32);
        image.fill(colour);
        image.setPixel(3, 2, qRgb(1, 2, 3));
        return image;
    }
};

TEST_F(WaylandClipboardTest, ACopyHandsWlCopyThePictureAsPng)
{
    WaylandClipboard clipboard(fallback, copyTool(), pasteTool());
    ASSERT_TRUE(clipboard.usesTools());
    const QImage picture = Picture(qRgb(200, 30, 60));
    clipboard.setImage(picture);
    EXPECT_EQ(read("copy-args").trimmed(), "--type image/png");
    const QImage copied = QImage::fromData(read("copied"), "PNG");
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), picture);
}

TEST_F(WaylandClipboardTest, WhenWlCopyFailsTheFallbackTakesThePicture)
{
    const QImage picture = Picture(qRgb(90, 90, 10));
    WaylandClipboard clipboard(fallback, copyTool(1), pasteTool());
    clipboard.setImage(picture);
    ASSERT_EQ(fallback.images.size(), 1u);
    EXPECT_EQ(fallback.images[0], picture);

    // A working wl-copy leaves the fallback alone.
    test::RecordingClipboard unused;
    WaylandClipboard working(unused, copyTool(), pasteTool());
    working.setImage(picture);
    EXPECT_TRUE(unused.images.empty());
}

TEST_F(WaylandClipboardTest, APastePrefersPngThenOtherImageTypesAndSkipsWhatItCannotRead)
{
    WaylandClipboard clipboard(fallback, copyTool(), pasteTool());
    const QImage png = Picture(qRgb(10, 200, 10));
    const QImage bmp = Picture(qRgb(10, 10, 200));

    listTypes("text/plain\nimage/bmp\nimage/png\n");
    offer("image/png", Encoded(png, "PNG"));
    offer("image/bmp", Encoded(bmp, "BMP"));
    EXPECT_TRUE(clipboard.hasImage());
    EXPECT_EQ(clipboard.image().convertToFormat(QImage::Format_RGB32), png);

    // A PNG offer that is no picture: the next type is tried.
    offer("image/png", QByteArray("not a picture"));
    EXPECT_EQ(clipboard.image().convertToFormat(QImage::Format_RGB32), bmp);
}

TEST_F(WaylandClipboardTest, TextOnlyOrAnEmptyClipboardHasNoImage)
{
    WaylandClipboard clipboard(fallback, copyTool(), pasteTool());
    listTypes("text/plain;charset=utf-8\nUTF8_STRING\n");
    EXPECT_FALSE(clipboard.hasImage());
    EXPECT_TRUE(clipboard.image().isNull());
    // wl-paste fails when nothing is on the clipboard at all.
    QFile::remove(path("types"));
    EXPECT_FALSE(clipboard.hasImage());
    EXPECT_TRUE(clipboard.image().isNull());
}

}  // namespace
}  // namespace tovrimo
