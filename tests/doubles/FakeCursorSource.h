#pragma once

#include "platform/CursorSource.h"

namespace tovrimo::test {

class FakeCursorSource : public CursorSource {
public:
    CursorImage cursorImage() override
    {
        ++imageReads;
        return cursor;
    }
    PixelPoint pointerPosition() override { return pointer; }

    CursorImage cursor;
    PixelPoint pointer;
    int imageReads = 0;
};

}  // namespace tovrimo::test
