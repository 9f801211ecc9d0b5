#pragma once

#include <string>

namespace tovrimo {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgResult { Ok, Cancel, Yes, No };

// Every message the user must see goes through here, so tests can record them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult show(const std::string& caption, const std::string& text,
                           MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None) = 0;
};

}  // namespace tovrimo
