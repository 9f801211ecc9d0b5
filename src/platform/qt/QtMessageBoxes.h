#pragma once

#include "platform/MessageBoxes.h"

namespace tovrimo {

// Real message boxes. The window title is the caption, exactly as given.
class QtMessageBoxes : public MessageBoxes {
public:
    MsgResult show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override;
};

}  // namespace tovrimo
