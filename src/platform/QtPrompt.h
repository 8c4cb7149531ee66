#pragma once

#include "platform/prompt.h"
#include "platform/standard_dialog_texts.h"

class QWidget;

namespace quendra::platform {

// Message boxes with the Italian captions and buttons.
class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr, DialogLanguage language = DialogLanguage::Italian);
    void message(PromptKind kind, const std::string& text) override;
    bool ask(PromptKind kind, const std::string& text) override;
    bool askBeforeLoss(PromptKind kind, const std::string& text) override;
    bool confirm(const std::string& text) override;

private:
    bool askYesNo(PromptKind kind, const std::string& text, bool yesByDefault);

    QWidget* parent_;
    DialogLanguage language_;
};

}  // namespace quendra::platform
