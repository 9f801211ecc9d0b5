#pragma once

#include <QValidator>
#include <cstddef>

namespace tovrimo {

// Keeps a line edit's text to what the settings file keeps of one value: at most `maxBytes`
// bytes once written as UTF-8 (a character limit would let kana and kanji, three bytes each,
// come back shortened). Typing, pasting or dropping text beyond it is refused, and `refused` is
// signalled (for a beep), so the user sees at once what would otherwise be lost on the next
// start.
class TextLengthLimit : public QValidator {
    Q_OBJECT
public:
    TextLengthLimit(size_t maxBytes, QObject* parent);

    State validate(QString& input, int& pos) const override;

    // Whether the text fits, for changes made by the program rather than typed.
    bool fits(const QString& text) const;

signals:
    // Qt asks validate() from const code; a refusal is news all the same.
    void refused() const;

private:
    size_t maxBytes_;
};

}  // namespace tovrimo
