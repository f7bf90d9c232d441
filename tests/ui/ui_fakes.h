#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/desktop.h"
#include "ui/main_logic.h"

namespace qov::test {

// A Desktop that records what it was asked to start or open.
class FakeDesktop : public Desktop {
public:
    bool startProgram(const std::string& path) override {
        started.push_back(path);
        return programsStart;
    }
    bool openDocument(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    bool startSystemInformation() override {
        ++systemInfoStarts;
        return systemInfoPresent;
    }
    std::vector<std::string> started;
    std::vector<std::string> opened;
    int systemInfoStarts = 0;
    bool programsStart = true;
    bool systemInfoPresent = false;
};

// A screen that counts what the main window asked of it.
class FakeScreen : public Screen {
public:
    explicit FakeScreen(std::string name) : name_(std::move(name)) {}
    std::string formName() const override { return name_; }
    void changeLanguage() override { ++languageChanges; }
    void reloadFromTables() override { ++reloads; }
    void lineWidthChanged() override { ++widthChanges; }
    int languageChanges = 0;
    int reloads = 0;
    int widthChanges = 0;

private:
    std::string name_;
};

// A MainView without a window: entries in `screens` open a window with the next id; every
// open and close is recorded; open screens are found by the form name given at opening.
class FakeView : public MainView {
public:
    int openScreen(int group, int entry) override {
        asked.emplace_back(group, entry);
        auto it = screens.find({group, entry});
        if (it == screens.end()) {
            return 0;
        }
        const int id = nextId++;
        open[id] = it->second;
        opened.push_back(id);
        return id;
    }
    void closeWindow(int id) override {
        closed.push_back(id);
        open.erase(id);
    }
    Screen* findScreen(const std::string& formName) override {
        for (auto& [id, name] : open) {
            if (name == formName) {
                auto& screen = fakes[name];
                if (!screen) {
                    screen = std::make_unique<FakeScreen>(name);
                }
                return screen.get();
            }
        }
        return nullptr;
    }
    void menusChanged() override { ++menuChanges; }

    FakeScreen* fake(const std::string& name) { return fakes[name].get(); }

    std::map<std::pair<int, int>, std::string> screens;  // entry -> form name
    std::map<int, std::string> open;                     // window id -> form name
    std::map<std::string, std::unique_ptr<FakeScreen>> fakes;
    std::vector<std::pair<int, int>> asked;
    std::vector<int> opened;
    std::vector<int> closed;
    int nextId = 2;
    int menuChanges = 0;
};

}  // namespace qov::test
