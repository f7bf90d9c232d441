// The station's backup task: its folder, what it says after a backup, the question before a
// send, and the transmit run's step before its first table.
#include "backup/backup_task.h"

#include <gtest/gtest.h>

#include "support/fake_station.h"
#include "tables/transfer_run.h"

namespace qov::backup {
namespace {

using Lines = std::vector<std::string>;

struct BackupTaskTest : ::testing::Test, test::FakeStation {
    BackupTaskTest() {
        task.backup = [this](Station&, tables::TransferProgress&,
                             const std::filesystem::path& parent) {
            parents.push_back(parent.string());
            return outcome;
        };
    }
    static BackupResult Written(std::vector<std::string> failed = {}) {
        BackupResult r;
        r.linkAnswered = true;
        r.folder = "/b/AR4821-20261205-101500";
        r.failed = std::move(failed);
        return r;
    }

    BackupTask task{station, "/home/u/QovCom kopije"};
    BackupResult outcome;
    Lines parents;
};

TEST_F(BackupTaskTest, TheFolderChosenLastIsKept) {
    EXPECT_EQ(task.folder(), "/home/u/QovCom kopije");
    EXPECT_EQ(task.chooseFolder(), "");  // cancelled: nothing kept
    EXPECT_EQ(task.folder(), "/home/u/QovCom kopije");
    dialogs.chooseFolderWith("/mnt/usb");
    EXPECT_EQ(task.chooseFolder(), "/mnt/usb");
    EXPECT_EQ(BackupTask(station, "/other").folder(), "/mnt/usb");
    ASSERT_EQ(dialogs.folderDialogs.size(), 2u);
    EXPECT_EQ(dialogs.folderDialogs[0].title, "Rezervna kopija kase");
    EXPECT_EQ(dialogs.folderDialogs[0].folder, "/home/u/QovCom kopije");
}

TEST_F(BackupTaskTest, WhatTheMenuItemSays) {
    const struct {
        const char* name;
        BackupResult outcome;
        bool ok;
        Lines boxes;
    } cases[] = {
        {"written",
         Written(),
         true,
         {"Arvon Cash Registers: Rezervna kopija je sacuvana u fascikli:\n"
          "/b/AR4821-20261205-101500 <info>"}},
        {"tables missing",
         Written({"vat", "sold"}),
         false,
         {"Arvon Cash Registers: Rezervna kopija je sacuvana u fascikli:\n"
          "/b/AR4821-20261205-101500\nNisu procitani: Poreske stope, Prodati artikli "
          "<exclamation>"}},
        {"stopped",
         [] {
             BackupResult r;
             r.linkAnswered = r.cancelled = true;
             return r;
         }(),
         false,
         {"Arvon Cash Registers: Rezervna kopija je prekinuta. <exclamation>"}},
        // The link test's own box has been shown by the read.
        {"no link", BackupResult{}, false, {}},
    };
    for (const auto& c : cases) {
        dialogs.clear();
        outcome = c.outcome;
        EXPECT_EQ(task.run("/b"), c.ok) << c.name;
        EXPECT_EQ(dialogs.lines(), c.boxes) << c.name;
        EXPECT_FALSE(dialogs.busy) << c.name;
    }
    EXPECT_EQ(parents, Lines(4, "/b"));
}

TEST_F(BackupTaskTest, BeforeASendTheUserDecidesWhenNoBackupWasMade) {
    const std::string question = " <exclamation> [Yes/No]";
    const struct {
        const char* name;
        BackupResult outcome;
        Answer answer;
        bool goesOn;
        Lines boxes;
    } cases[] = {
        {"written", Written(), Answer::No, true, {}},
        {"no link, No",
         BackupResult{},
         Answer::No,
         false,
         {"Arvon Cash Registers: Rezervna kopija nije napravljena.\nNastaviti slanje?" + question}},
        {"no link, Yes",
         BackupResult{},
         Answer::Yes,
         true,
         {"Arvon Cash Registers: Rezervna kopija nije napravljena.\nNastaviti slanje?" + question}},
        {"not whole",
         Written({"vat"}),
         Answer::Yes,
         true,
         {"Arvon Cash Registers: Rezervna kopija nije potpuna (nisu procitani: Poreske "
          "stope).\nNastaviti slanje?" +
          question}},
        {"stopped",
         [] {
             BackupResult r;
             r.cancelled = true;
             return r;
         }(),
         Answer::Yes,
         false,
         {}},
    };
    for (const auto& c : cases) {
        dialogs.clear();
        dialogs.answers.clear();
        dialogs.answer(c.answer);
        outcome = c.outcome;
        tables::TransferProgress progress;
        EXPECT_EQ(task.beforeSend(progress), c.goesOn) << c.name;
        EXPECT_EQ(dialogs.lines(), c.boxes) << c.name;
    }
    EXPECT_EQ(parents, Lines(5, "/home/u/QovCom kopije"));
}

// The step runs after the link test and before the first frame; false sends nothing.
TEST_F(BackupTaskTest, TheTransmitRunsStepBeforeItsFirstTable) {
    state.CyrillicMode = state.CyrillicLanguage = false;
    state.DepartmentTable[1].description = "PIVO";
    for (bool goOn : {false, true}) {
        link.calls.clear();
        tables::TransferRun run(station, tables::TransferDirection::Transmit);
        run.setSelected(0, true);
        run.beforeSend = [this, goOn](Station&, tables::TransferProgress&) {
            link.calls.push_back({"backup", "", 0});
            return goOn;
        };
        EXPECT_EQ(run.invia(), goOn);
        Lines ops;
        for (const auto& call : link.calls) {
            ops.push_back(call.op + (call.text.empty() ? "" : " " + call.text));
        }
        Lines expected = {"Testconnessione", "backup"};
        if (goOn) {
            expected.push_back("send_frame R00PIVO        00000000");
        }
        EXPECT_EQ(ops, expected);
        EXPECT_EQ(run.mark(0), goOn ? tables::TransferMark::Success : tables::TransferMark::None);
    }
}

}  // namespace
}  // namespace qov::backup
