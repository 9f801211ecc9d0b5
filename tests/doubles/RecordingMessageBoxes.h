#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

namespace tovrimo::test {

// Records every message box and answers from a queue (Ok/Yes when the queue is empty).
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        std::string caption;
        std::string text;
        MsgButtons buttons;
        MsgIcon icon;
    };

    MsgResult show(const std::string& caption, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override
    {
        shown.push_back({caption, text, buttons, icon});
        if (!answers.empty()) {
            MsgResult r = answers.front();
            answers.pop_front();
            return r;
        }
        return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgResult::Ok
                                                                            : MsgResult::Yes;
    }

    std::vector<Shown> shown;
    std::deque<MsgResult> answers;
};

}  // namespace tovrimo::test
