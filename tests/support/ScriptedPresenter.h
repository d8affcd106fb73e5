#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "Messages.h"
#include "ToolkitApp.h"

// A message presenter for widget tests: records every message and answers
// from a script, or with the box's default button when the script is done.
class ScriptedPresenter : public MessagePresenter {
public:
    struct Shown {
        int stringId;
        QString caption, text;
        unsigned type;
        QString detail;
    };

    // Answers for the next boxes, in order (MessageResult values).
    std::deque<int> answers;
    std::vector<Shown> shown;

    int Present(const MessageRequest& request) override {
        shown.push_back({request.stringId, request.caption, request.text, request.type, request.detail});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return DefaultAnswer(request.type);
    }

    std::vector<int> ShownIds() const {
        std::vector<int> ids;
        for (const auto& message : shown) ids.push_back(message.stringId);
        return ids;
    }

    static int DefaultAnswer(unsigned type) {
        const bool second = (type & MessageType::DefaultMask) == MessageType::DefaultButton2;
        switch (type & MessageType::ButtonMask) {
        case MessageType::OkCancel: return second ? MessageResult::Cancel : MessageResult::Ok;
        case MessageType::YesNo:
        case MessageType::YesNoCancel: return second ? MessageResult::No : MessageResult::Yes;
        default: return MessageResult::Ok;
        }
    }
};

// Installs a scripted presenter into the application object and returns it
// (owned by the application object).
inline ScriptedPresenter& InstallScriptedPresenter(ToolkitApp& app) {
    auto presenter = std::make_unique<ScriptedPresenter>();
    ScriptedPresenter& result = *presenter;
    app.SetPresenter(std::move(presenter));
    return result;
}
