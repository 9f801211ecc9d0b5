#pragma once

#include <QValidator>
#include <cstddef>
#include <functional>

namespace tovrimo {

// Keeps a line edit's text to what the settings file keeps of one value: at most `maxBytes`
// bytes once written as UTF-8 (a character limit would let kana and kanji, three bytes each,
// come back shortened). Typing, pasting or dropping text beyond it is refused, and `refused`
// runs (a beep), so the user sees at once what would otherwise be lost on the next start.
class TextLengthLimit : public QValidator {
public:
    TextLengthLimit(size_t maxBytes, std::function<void()> refused, QObject* parent);

    State validate(QString& input, int& pos) const override;

    // Whether the text fits, for changes made by the program rather than typed.
    bool fits(const QString& text) const;

private:
    size_t maxBytes_;
    std::function<void()> refused_;
};

}  // namespace tovrimo
