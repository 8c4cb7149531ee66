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
    // A question whose Yes deletes or replaces something: as ask, but No is the default
    // button, so that a hasty Enter loses nothing.
    virtual bool askBeforeLoss(PromptKind kind, const std::string& text) = 0;
    // A confirmation of a deletion with OK and Cancel: true only for OK; Cancel is the
    // default button.
    virtual bool confirm(const std::string& text) = 0;
};

}  // namespace quendra::platform
