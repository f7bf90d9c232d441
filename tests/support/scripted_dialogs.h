#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace qov::test {

// A Dialogs fake that records every box and answers from a script. With the script
// empty, a box is answered with its default (preselected) button. File dialogs
// answer from their own queues (empty text = cancelled).
class ScriptedDialogs : public Dialogs {
public:
    Answer show(const MessageBox& box) override;
    std::string openFile(const FileDialog& dialog) override;
    std::string saveFile(const FileDialog& dialog) override;
    std::string chooseFolder(const FileDialog& dialog) override;
    void setBusy(bool busy) override;
    void yield() override { ++yields; }

    // Queue answers for the next boxes.
    ScriptedDialogs& answer(Answer a) {
        answers.push_back(a);
        return *this;
    }
    ScriptedDialogs& openWith(const std::string& path) {
        openAnswers.push_back(path);
        return *this;
    }
    ScriptedDialogs& saveWith(const std::string& path) {
        saveAnswers.push_back(path);
        return *this;
    }
    ScriptedDialogs& chooseFolderWith(const std::string& path) {
        folderAnswers.push_back(path);
        return *this;
    }

    // The texts of the boxes shown, in order.
    std::vector<std::string> texts() const;
    // Every box shown as "TITLE: TEXT", then its icon (" <critical>", " <exclamation>",
    // " <info>") and buttons (" [Retry/Cancel]", " [Yes/No]") where it has them.
    std::vector<std::string> lines() const;
    const MessageBox& last() const { return boxes.back(); }
    void clear() { boxes.clear(); }

    std::vector<MessageBox> boxes;
    std::vector<FileDialog> openDialogs;
    std::vector<FileDialog> saveDialogs;
    std::vector<FileDialog> folderDialogs;
    std::vector<bool> busyChanges;
    bool busy = false;
    int yields = 0;
    std::deque<Answer> answers;
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;
    std::deque<std::string> folderAnswers;
};

}  // namespace qov::test
