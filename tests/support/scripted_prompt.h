#pragma once

#include "platform/prompt.h"

#include <deque>
#include <string>
#include <vector>

namespace quendra::test {

// A Prompt that answers questions from a queue given in advance (an empty queue answers
// No) and records every text it was shown.
class ScriptedPrompt : public platform::Prompt {
public:
    struct Shown {
        platform::PromptKind kind;
        std::string text;
        bool noByDefault = false;  // a question whose default button keeps things as they are
    };

    void answer(bool yes) { answers_.push_back(yes); }
    void answers(std::initializer_list<bool> list) { answers_.insert(answers_.end(), list); }

    void message(platform::PromptKind kind, const std::string& text) override { shown.push_back({kind, text}); }
    bool ask(platform::PromptKind kind, const std::string& text) override {
        shown.push_back({kind, text});
        return next();
    }
    bool askBeforeLoss(platform::PromptKind kind, const std::string& text) override {
        shown.push_back({kind, text, true});
        return next();
    }
    bool confirm(const std::string& text) override {
        shown.push_back({platform::PromptKind::Confirmation, text, true});
        return next();
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Shown& s : shown) out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;

private:
    bool next() {
        if (answers_.empty()) return false;
        const bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    }
    std::deque<bool> answers_;
};

}  // namespace quendra::test
