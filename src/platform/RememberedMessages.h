#pragma once

#include <string>

#include "platform/MessageBoxes.h"

namespace tovrimo {

// Passes every message on and remembers the last one, so that a command-line job that fails
// can also say why where scripts and terminals see it.
class RememberedMessages : public MessageBoxes {
public:
    explicit RememberedMessages(MessageBoxes& shown) : shown_(shown) {}
    MsgResult show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override
    {
        last_ = text;
        return shown_.show(caption, text, buttons, icon);
    }
    // The text of the last message; empty when none was shown.
    const std::string& lastText() const { return last_; }

private:
    MessageBoxes& shown_;
    std::string last_;
};

// A message as one line: its lines joined by spaces, blank ones left out.
std::string OneLine(const std::string& text);

}  // namespace tovrimo
