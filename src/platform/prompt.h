#pragma once

#include <string>

namespace quendra::platform {

enum class PromptKind { Information, Warning, Error, Confirmation };

// The program's message boxes. Texts are shown as they stand; the captions and button
// texts are the Italian ones of standard_dialog_texts.h.
class Prompt {
public:
    virtual ~Prompt() = default;
    // A box with an OK button.
    virtual void message(PromptKind kind, const std::string& text) = 0;
    // A question with Yes and No: true only for Yes (closing the box is No).
    virtual bool ask(PromptKind kind, const std::string& text) = 0;
    // A confirmation with OK and Cancel: true only for OK.
    virtual bool confirm(const std::string& text) = 0;
};

}  // namespace quendra::platform
