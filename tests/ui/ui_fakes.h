#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/test_environment.h"
#include "ui/desktop.h"
#include "ui/main_logic.h"

namespace qov::test {

// A Desktop that records the documents it was asked to open.
class FakeDesktop : public Desktop {
public:
    bool startProgram(const std::string&) override { return true; }
    bool openDocument(const std::string& target) override {
        opened.push_back(target);
        return opens;
    }
    bool startSystemInformation() override { return false; }
    std::vector<std::string> opened;
    bool opens = true;  // false: the desktop has no program for the document
};

// A screen that counts what the main window asked of it.
class FakeScreen : public Screen {
public:
    explicit FakeScreen(std::string form) : name(std::move(form)) {}
    std::string formName() const override { return name; }
    void lineWidthChanged() override { ++widthChanges; }
    void changeLanguage() override { ++languageChanges; }
    std::string name;
    int widthChanges = 0;
    int languageChanges = 0;
};

// A MainView without a window: the entries in `screens` open a FakeScreen under the next id.
class FakeView : public MainView {
public:
    int openScreen(int group, int entry) override {
        const auto it = screens.find({group, entry});
        if (it == screens.end())
            return 0;
        open.emplace(nextId, FakeScreen(it->second));
        return nextId++;
    }
    void closeWindow(int id) override {
        closed.push_back(id);
        open.erase(id);
    }
    Screen* findScreen(const std::string& formName) override {
        const auto it = std::find_if(open.begin(), open.end(),
                                     [&](const auto& o) { return o.second.name == formName; });
        return it == open.end() ? nullptr : &it->second;
    }
    void menusChanged() override {}

    std::map<std::pair<int, int>, std::string> screens;  // entry -> form name
    std::map<int, FakeScreen> open;                      // window id -> screen
    std::vector<int> closed;
    int nextId = 2;
};

}  // namespace qov::test
