#pragma once

#include <string>

namespace tovrimo::test {

// Xft.dpi in the test session's resource database for as long as the object lives, the way a
// desktop sets up a scaled (HiDPI) screen: 192 is 200 %, 144 is 150 %. Programs read it when
// they start. The database is put back as it was afterwards.
class XftDpi {
public:
    explicit XftDpi(int dpi);
    ~XftDpi();
    XftDpi(const XftDpi&) = delete;
    XftDpi& operator=(const XftDpi&) = delete;
    bool ok() const { return ok_; }

private:
    std::string saved_;
    bool ok_ = false;
};

// Another keyboard layout on the test session's keyboard (setxkbmap) for as long as the object
// lives; the previous layout is put back afterwards.
class KeyboardLayout {
public:
    explicit KeyboardLayout(const std::string& layout);
    ~KeyboardLayout();
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;
    bool ok() const { return ok_; }

private:
    std::string previous_;
    bool ok_ = false;
};

}  // namespace tovrimo::test
