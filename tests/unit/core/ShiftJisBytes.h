#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

namespace tovrimo::test {

// UTF-8 text as Shift_JIS (CP932) bytes, made with iconv directly so that tests do not check
// the program's conversion against itself.
inline std::string ShiftJisBytes(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* o = out.data();
    size_t outLeft = out.size();
    const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) throw std::runtime_error("not representable in CP932");
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace tovrimo::test
