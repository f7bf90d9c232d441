#include "support/scripted_dialogs.h"

namespace qov::test {

Answer ScriptedDialogs::show(const MessageBox& box) {
    boxes.push_back(box);
    if (answers.empty()) {
        return box.defaultAnswer;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::string ScriptedDialogs::openFile(const FileDialog& dialog) {
    openDialogs.push_back(dialog);
    if (openAnswers.empty()) {
        return {};
    }
    std::string path = openAnswers.front();
    openAnswers.pop_front();
    return path;
}

std::string ScriptedDialogs::saveFile(const FileDialog& dialog) {
    saveDialogs.push_back(dialog);
    if (saveAnswers.empty()) {
        return {};
    }
    std::string path = saveAnswers.front();
    saveAnswers.pop_front();
    return path;
}

std::string ScriptedDialogs::chooseFolder(const FileDialog& dialog) {
    folderDialogs.push_back(dialog);
    if (folderAnswers.empty()) {
        return {};
    }
    std::string path = folderAnswers.front();
    folderAnswers.pop_front();
    return path;
}

void ScriptedDialogs::setBusy(bool value) {
    busy = value;
    busyChanges.push_back(value);
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> result;
    result.reserve(boxes.size());
    for (const MessageBox& box : boxes) {
        result.push_back(box.text);
    }
    return result;
}

std::vector<std::string> ScriptedDialogs::lines() const {
    const char* const icons[] = {"", " <critical>", " <exclamation>", " <info>"};
    const char* const buttons[] = {"", " [Retry/Cancel]", " [Yes/No]"};
    std::vector<std::string> all;
    all.reserve(boxes.size());
    for (const MessageBox& b : boxes) {
        all.push_back(b.title + ": " + b.text + icons[static_cast<int>(b.icon)] +
                      buttons[static_cast<int>(b.buttons)]);
    }
    return all;
}

}  // namespace qov::test
