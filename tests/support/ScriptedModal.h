// Scripted answers for message boxes and file dialogs, and a record of beeps, messages and opened URLs.
#pragma once

#include "framework/Modal.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class ScriptedModal : public fw::ModalServices {
public:
    ScriptedModal() { fw::SetModalServices(this); }
    ~ScriptedModal() override { fw::SetModalServices(nullptr); }

    void MsgBox(const std::string& text) override { messages.push_back(text); }
    void Beep() override { ++beeps; }
    void ShowURL(const std::string& url) override { urls.push_back(url); }
    std::optional<std::string> SaveAsDialog(const std::string& title, const std::string&) override {
        dialogTitles.push_back(title);
        return Next(saveAnswers);
    }
    std::optional<std::string> OpenDialog(const std::string& title) override {
        dialogTitles.push_back(title);
        return Next(openAnswers);
    }

    std::vector<std::string> messages;
    std::vector<std::string> urls;
    std::vector<std::string> dialogTitles;
    int beeps = 0;
    // Each dialog takes the next answer; nullopt (or none left) is a cancel.
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> openAnswers;

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace testsupport
