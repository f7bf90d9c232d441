// The memory dumps: block requests and texts, the first and next block in Text1, the full read
// into the dump file with its holes, cancel and file failures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "dumps/memory_dump.h"
#include "support/fake_station.h"
#include "support/test_environment.h"

namespace qov::dumps {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kHex32 = "0123456789ABCDEF0123456789ABCDEF";
const std::string kReply36 = std::string(kHex32) + "0F0F";
const std::string kText36 = "01 23 45 67 89 AB CD EF 01 23 45 67 89 AB CD EF";

// A reply that names its block: the address as 8 hex digits four times, then the check.
std::string BlockReply(std::uint32_t address) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", address);
    return std::string(hex) + hex + hex + hex + "0000";
}

std::string Lines(const Texts& lines) {
    std::string all;
    for (const std::string& line : lines) {
        all += line + "\n";
    }
    return all;
}

struct DumpTest : ::testing::Test, test::FakeStation {
    std::filesystem::path folder = test::MakeTempFolder("qovdump");

    // The register's side of a full read from block `first` to block `last`: every block
    // answered with BlockReply, except the blocks in `holes`, which never answer.
    void scriptBlocks(char letter, int first, int last, const std::set<int>& holes = {}) {
        for (int k = first; k <= last; ++k) {
            const auto address = static_cast<std::uint32_t>(16 * k);
            if (holes.count(k) != 0) {
                for (int i = 0; i < kRequestsPerBlock; ++i) {
                    link.expect("get_frame", BlockRequest(letter, address), -1);
                }
            } else {
                link.replyTo(BlockRequest(letter, address), BlockReply(address));
            }
        }
    }
    std::string dumpOf(const MemoryDump& dump) { return test::ReadFile(dump.dumpFile().string()); }
    // Keeps Text1 each time it changes in `texts`.
    void watchText(MemoryDump& dump) {
        texts.clear();
        dump.progress().changed = [this, &dump] {
            if (texts.empty() || texts.back() != dump.text()) {
                texts.push_back(dump.text());
            }
        };
    }
    Texts texts;
};

TEST(BlockTexts, RequestsRepliesAndLines) {
    EXPECT_EQ(BlockRequest('F', 0), "F000000");
    EXPECT_EQ(BlockRequest('Y', 0), "Y000000");
    EXPECT_EQ(BlockRequest('F', 32), "F000032");
    EXPECT_EQ(BlockRequest('F', 16 * 8191), "F131056");
    EXPECT_EQ(BlockText(kReply36), kText36);
    EXPECT_EQ(DumpLine(0, BlockText(kReply36)), "000000 " + kText36);
    EXPECT_EQ(MissingBlockLine(131056), "131056 ??");
    EXPECT_EQ(ProgressText(1, 8192), "Snimak broj " + std::string(" 1") + " od 8192");
    EXPECT_EQ(ProgressText(16384, 16384), "Snimak broj  16384 od 16384");
    const std::pair<std::string, std::string> shortReplies[] = {
        {"", ""}, {"AB", ""}, {"ABCD", ""}, {"ABCDE", "A"}, {"0123XYZW", "01 23"}};
    for (const auto& [reply, text] : shortReplies) {
        EXPECT_EQ(BlockText(reply), text) << reply;
    }
    // Bytes past the 32nd get no blank before them; a NUL is a byte like any other.
    EXPECT_EQ(BlockText(std::string(kHex32) + "GH" + std::string(1, '\0') + "WXYZ"),
              kText36 + "GH" + std::string(1, '\0'));
}

// The program screen: no next block; its file in the program folder; opening and "esci".
TEST_F(DumpTest, TheProgramScreenHasNoNextBlock) {
    MemoryDump dump(station, MemoryKind::Program, folder);
    EXPECT_EQ(dump.dumpFile(), folder / "prgqov.txt");
    dump.open();
    EXPECT_EQ(state.CurrentForm, "ne");
    EXPECT_FALSE(dump.onToolbar("sledeci"));
    EXPECT_TRUE(link.calls.empty());
    EXPECT_TRUE(dump.onToolbar("esci"));
    EXPECT_EQ(state.CurrentForm, " ");
}

// "prvi" and "sledeci" walk the memory and append to Text1; a block without reply says so and
// leaves the address where it moved.
TEST_F(DumpTest, FirstAndNextBlocksGrowText1) {
    MemoryDump dump(station, MemoryKind::Fiscal, folder);
    link.replyTo("F000000", kReply36)
        .replyTo("F000016", "ABCD")
        .expect("get_frame", "F000032", -4)
        .expect("get_frame", "F000048", 0)
        .replyTo("F000000", BlockReply(0));
    dump.onToolbar("prvi");
    dump.onToolbar("sledeci");
    EXPECT_EQ(dump.text(), "000000 " + kText36 + " 000016  ");
    EXPECT_EQ(state.ReplyText, "");
    EXPECT_TRUE(dialogs.boxes.empty());
    dump.onToolbar("sledeci");
    dump.onToolbar("sledeci");
    EXPECT_EQ(dump.address(), 48u);
    EXPECT_EQ(dialogs.lines(), Texts(2, "Arvon Cash Registers: Citanje nije uspelo! <critical>"));
    dump.onToolbar("prvi");
    EXPECT_EQ(dump.address(), 0u);
    EXPECT_EQ(dump.text(),
              "000000 " + kText36 + " 000016  000000 " + BlockText(BlockReply(0)) + " ");
    EXPECT_EQ(dialogs.busyChanges,
              std::vector<bool>({true, false, true, false, true, false, true, false, true, false}));
}

TEST_F(DumpTest, OnAModemLineTheBlockGoesByGetFrameM) {
    state.ModemMode = true;
    MemoryDump dump(station, MemoryKind::Program, folder);
    link.expect("get_frameM", "Y000000", 36, kReply36);
    dump.onToolbar("prvi");
    EXPECT_EQ(link.calls.at(0).arg, 7);  // the request's length
    EXPECT_EQ(state.ReplyText, kText36);
}

// A whole fiscal memory: one line per block in address order, the texts of Text1 on the way,
// two yields per block.
TEST_F(DumpTest, FullReadWritesEveryBlockAndItsHoles) {
    test::WriteFile((folder / "fiscal.txt").string(), "an older dump\n");
    MemoryDump dump(station, MemoryKind::Fiscal, folder);
    watchText(dump);
    // Block 1 answers on the fifth request; blocks 2 and 8191 never do.
    link.replyTo("F000000", BlockReply(0));
    for (int i = 0; i < 4; ++i) {
        link.expect("get_frame", "F000016", -5);
    }
    link.replyTo("F000016", BlockReply(16));
    scriptBlocks('F', 2, 8191, {2, 8191});
    dump.onToolbar("sve");

    EXPECT_TRUE(link.script.empty());
    EXPECT_EQ(link.count("get_frame"), 1 + 5 + 8188 + 2 * kRequestsPerBlock);
    std::istringstream file(dumpOf(dump));
    Texts lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 8192u);
    EXPECT_EQ(lines[0], DumpLine(0, BlockText(BlockReply(0))));
    EXPECT_EQ(lines[1], "000016 00 00 00 10 00 00 00 10 00 00 00 10 00 00 00 10");
    EXPECT_EQ(lines[2], "000032 ??");
    EXPECT_EQ(lines[3], DumpLine(48, BlockText(BlockReply(48))));
    EXPECT_EQ(lines[8191], "131056 ??");
    EXPECT_EQ(dumpOf(dump).back(), '\n');
    ASSERT_EQ(texts.size(), 8192u + 2);
    EXPECT_EQ(texts[0], "Sacekajte...");
    EXPECT_EQ(texts[1], "Snimak broj  1 od 8192");
    EXPECT_EQ(texts[8192], "Snimak broj  8192 od 8192");
    EXPECT_EQ(dump.text(), "Prijem zavrsen, neprocitanih blokova: 2");
    EXPECT_EQ(dialogs.yields, 2 * 8192);
    EXPECT_EQ(dump.progress().done(), 8192);
    EXPECT_EQ(dump.progress().total(), 8192);
    EXPECT_EQ(dialogs.busyChanges, std::vector<bool>({true, false}));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(dump.running());
}

// A program memory into a folder whose name is not ASCII: every block read, the plain end text.
TEST_F(DumpTest, FullProgramReadIntoAFolderWithANonAsciiName) {
    const std::filesystem::path home = folder /
                                       "Kasa \xC5\xA0"
                                       "abac \xD0\x9D\xD0\xB8\xD1\x88";
    std::filesystem::create_directory(home);
    MemoryDump dump(station, MemoryKind::Program, home);
    watchText(dump);
    scriptBlocks('Y', 0, 16383);
    dump.onToolbar("sve");
    const std::string content = test::ReadFile((home / "prgqov.txt").string());
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 16384);
    EXPECT_EQ(content.substr(0, 55), DumpLine(0, BlockText(BlockReply(0))) + "\n");
    EXPECT_EQ(content.substr(content.size() - 55),
              DumpLine(262128, BlockText(BlockReply(262128))) + "\n");
    EXPECT_EQ(texts.front(), "Sacekajte");
    EXPECT_EQ(texts.at(1), "Snimak broj  1 od 16384");
    EXPECT_EQ(dump.text(), "Prijem zavrsen");
    EXPECT_TRUE(dump.outcome().complete());
}

// "Prekini" during block 3: that block is finished, the file keeps the three lines, the end
// text counts the blocks read.
TEST_F(DumpTest, CancelStopsBetweenTwoBlocksAndKeepsTheLinesWritten) {
    MemoryDump dump(station, MemoryKind::Fiscal, folder);
    dump.cancel();  // not running: no effect on the next read
    scriptBlocks('F', 0, 7, {1});
    dump.progress().changed = [&dump] {
        if (dump.text() == ProgressText(3, 8192)) {
            dump.cancel();
            dump.onToolbar("sve");  // keys are not taken while the read runs
        }
    };
    dump.onToolbar("sve");
    EXPECT_EQ(link.count("get_frame"), 2 + kRequestsPerBlock);
    EXPECT_EQ(dumpOf(dump), Lines({DumpLine(0, BlockText(BlockReply(0))), "000016 ??",
                                   DumpLine(32, BlockText(BlockReply(32)))}));
    EXPECT_EQ(dump.text(),
              "Prijem prekinut, procitano blokova: 2 od 8192, neprocitanih blokova: 1");
    EXPECT_TRUE(dump.outcome().cancelled);
    EXPECT_EQ(dialogs.busyChanges, std::vector<bool>({true, false}));
    EXPECT_FALSE(dump.running());
}

// A dump file that cannot be made: the reason in a critical box, nothing read, Text1 as it was.
TEST_F(DumpTest, AFileThatCannotBeMadeReadsNothing) {
    std::filesystem::create_directory(folder / "fiscal.txt");
    const std::filesystem::path missing = folder / "gone";
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {missing, (missing / "fiscal.txt").string() + " ne moze da se napravi: No such file or "
                                                      "directory."},
        {folder, (folder / "fiscal.txt").string() + " ne moze da se napravi: Is a directory."}};
    for (const auto& [home, text] : cases) {
        dialogs.clear();
        dialogs.busyChanges.clear();
        MemoryDump dump(station, MemoryKind::Fiscal, home);
        link.replyTo("F000000", kReply36);
        dump.onToolbar("prvi");
        dump.onToolbar("sve");
        EXPECT_EQ(dialogs.lines(), Texts{"Arvon Cash Registers: Datoteka " + text + " <critical>"});
        EXPECT_EQ(link.count("get_frame"), 1);
        link.calls.clear();
        EXPECT_EQ(dump.text(), "000000 " + kText36 + " ");
        EXPECT_FALSE(dump.outcome().fileCreated);
        EXPECT_EQ(dialogs.busyChanges, std::vector<bool>({true, false, true, false}));
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace qov::dumps
