// A program file save that cannot finish (a full disk, a read-only folder): the box says why,
// and the file saved before is left whole, with no temporary file beside it.
#include <gtest/gtest.h>

#include <QDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "progfile/program_file.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

namespace qov {
namespace {

// While it lives no file may grow past `bytes`, as on a disk that is full.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the test
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, signal_);
    }

private:
    rlimit saved_{};
    void (*signal_)(int) = nullptr;
};

// While it lives the folder is read-only; root, who writes there anyway, acts as "nobody".
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
        ::chmod(folder_.c_str(), 0555);
        if (::geteuid() == 0) {
            root_ = ::seteuid(65534) == 0;
        }
    }
    ~ReadOnlyFolder() {
        if (root_) {
            (void)::seteuid(0);
        }
        ::chmod(folder_.c_str(), 0755);
    }

private:
    std::string folder_;
    bool root_ = false;
};

TEST(ProgramFileSave, AnInterruptedSaveKeepsTheOldFileWhole) {
    struct Case {
        const char* name;
        std::function<std::shared_ptr<void>(const std::string& folder)> fault;
        std::string box;
    };
    const Case cases[] = {
        {"full disk", [](const std::string&) { return std::make_shared<FullDisk>(512); },
         "Disk full"},
        {"read-only folder",
         [](const std::string& folder) { return std::make_shared<ReadOnlyFolder>(folder); },
         "Permission denied"},
    };
    for (const Case& c : cases) {
        // A folder "nobody" may enter, holding the file saved before.
        const std::string top = test::MakeTempFolder("qovsave");
        ::chmod(top.c_str(), 0755);
        const std::string folder = top + "/setup";
        ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
        SharedState state;
        state.ProgramFilePath = folder + "/shop.ini";
        test::ScriptedDialogs dialogs;
        ASSERT_TRUE(SaveProgramFile(state, dialogs));
        const std::string before = test::ReadFile(state.ProgramFilePath);
        ASSERT_GT(before.size(), 512u);  // the new one cannot fit under the full disk

        state.DepartmentTable[1].description = "NOVO ODELJENJE";
        bool saved = true;
        {
            const auto fault = c.fault(folder);
            saved = SaveProgramFile(state, dialogs);
        }
        EXPECT_FALSE(saved) << c.name;
        EXPECT_EQ(dialogs.lines(),
                  std::vector<std::string>{std::string(kProgramTitle) + ": " + c.box})
            << c.name;
        EXPECT_EQ(test::ReadFile(state.ProgramFilePath), before) << c.name;
        EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"shop.ini"})
            << c.name;
    }
}

}  // namespace
}  // namespace qov
