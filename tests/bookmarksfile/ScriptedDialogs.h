// The dialog seam with answers: the save and open dialogs return what the test set and record their titles.
#pragma once

#include "tests/support/ScriptedModal.h"

namespace testsupport {

class ScriptedDialogs : public ScriptedModal {
public:
    std::optional<std::string> SaveAsDialog(const std::string& title,
                                            const std::string& suggestedName) override {
        asked.push_back(title + " / " + suggestedName);
        return saveAnswer;
    }
    std::optional<std::string> OpenDialog(const std::string& title) override {
        asked.push_back(title);
        return openAnswer;
    }

    std::optional<std::string> saveAnswer, openAnswer; // nothing: the user cancels
    std::vector<std::string> asked;
};

} // namespace testsupport
