// The register's memory file.
#include "state_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "register_model.h"
#include "support/test_environment.h"

namespace {

using qov::sim::Memory;

TEST(StateFile, EveryTableSurvivesARestartAndBrokenFilesAreRefused) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("reg.json").toStdString();
    qov::sim::RegisterModel model;
    ASSERT_EQ(model.execute("PR12345678901209" + std::string(28, 'N') + "000007251897").status,
              'A');
    ASSERT_EQ(model.execute("x").status, 'A');
    auto& m = model.memory();
    m.departments[3].name = std::string("\310A\"J' \0X\\  ", 12);  // 8-bit, quotes, NUL
    m.departments[3].sales = 123456789012LL;
    m.types[0] = std::string("MLEKO\0      ", 12);
    m.logos[1] = std::string("BM\0\xFF\x01", 5);
    ASSERT_TRUE(qov::sim::saveState(m, path));
    Memory back;
    ASSERT_TRUE(qov::sim::loadState(back, path));
    EXPECT_EQ(qov::sim::memoryToJson(back), qov::sim::memoryToJson(m));
    EXPECT_EQ(back.departments[3].name + back.types[0] + back.logos[1],
              m.departments[3].name + m.types[0] + m.logos[1]);
    EXPECT_EQ(back.departments[3].sales, 123456789012LL);
    EXPECT_EQ(back.dailyRecords.size(), 1u);
    // a missing file leaves the memory as it is, a broken one is refused and leaves it too
    EXPECT_TRUE(qov::sim::loadState(back, dir.filePath("none.json").toStdString()));
    qov::test::WriteFile(path, "{\"units\": [\"ABC\"");
    EXPECT_FALSE(qov::sim::loadState(back, path));
    EXPECT_EQ(qov::sim::memoryToJson(back), qov::sim::memoryToJson(m));
}

TEST(StateFile, WrongValuesKeptInShape) {
    Memory m;
    EXPECT_FALSE(qov::sim::memoryFromJson("[1, 2]", m));
    const std::string json = R"({"units": ["kilogram", 5], "departments": [{"maxPrice": -5}],
        "articles": [{"code": "12"}, {"code": "000000000001", "vat": 99}]})";
    ASSERT_TRUE(qov::sim::memoryFromJson(json, m));
    EXPECT_EQ(m.units[0] + m.units[1], "kilkg ");
    EXPECT_EQ(m.departments[0].maxPrice, 0);
    ASSERT_EQ(m.articles.size(), 1u);  // a code that is not 12 characters is dropped
    EXPECT_EQ(m.articles.at("000000000001").vat, 0);
}

// JSON of n articles, n logos of the given size and n daily records.
std::string Articles(int n) {
    std::string a;
    for (int i = 0; i < n; ++i)
        a += std::string(i ? "," : "") + "{\"code\": \"00000000000" + std::to_string(i) + "\"}";
    return "{\"articles\": [" + a + "]}";
}
std::string Logo(std::size_t bytes) {
    return "{\"logos\": [\"\", \"" +
           QByteArray(static_cast<qsizetype>(bytes), 'B').toBase64().toStdString() + "\"]}";
}
std::string Days(int n) {
    std::string d;
    for (int i = 0; i < n; ++i)
        d += std::string(i ? "," : "") + "{}";
    return "{\"dailyRecords\": [" + d + "]}";
}

// What does not fit the register's memory is refused whole, the memory left as it was.
TEST(StateFile, MoreThanTheMemoryTakesIsRefusedWithItsReason) {
    struct Case {
        std::string json;
        int capacity;
        std::string error;  // empty: taken
    };
    const Case cases[] = {
        {Articles(3), 3, ""},
        {Articles(3), 2, "3 articles, more than the 2 of --plu-capacity"},
        {Articles(2), 0, "2 articles, more than the 0 of --plu-capacity"},
        {Logo(65536), 10, ""},
        {Logo(65537), 10, "logo 2 of 65537 bytes, more than the 65536 of a logo slot"},
        {Days(8191), 10, ""},
        {Days(8192), 10, "8192 daily records, more than the 8191 of the fiscal memory"},
        {"\"text\"", 10, "not a JSON object"},
    };
    Memory before;
    before.units[0] = "XYZ";
    for (const Case& c : cases) {
        Memory m = before;
        std::string error;
        EXPECT_EQ(qov::sim::memoryFromJson(c.json, m, &error, c.capacity), c.error.empty())
            << c.error;
        EXPECT_EQ(error, c.error);
        if (!c.error.empty()) {
            EXPECT_TRUE(qov::sim::memoryToJson(m) == qov::sim::memoryToJson(before)) << c.error;
        }
    }
}

// Devices, pipes, folders and oversized files are refused before a byte is read: /dev/zero
// would be read without end, a pipe would block.
TEST(StateFile, OnlyARegularFileOfAtMostFourMegabytesIsRead) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = dir.filePath("big.json").toStdString();
    qov::test::WriteFile(big, "{}" + std::string(4 * 1024 * 1024 - 1, ' '));
    const std::pair<std::string, std::string> refused[] = {
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {dir.path().toStdString(), "not a regular file"},
        {big, "larger than 4 MB (4194305 bytes)"},
    };
    for (const auto& [path, reason] : refused) {
        Memory m;
        std::string error;
        EXPECT_FALSE(qov::sim::loadState(m, path, &error)) << path;
        EXPECT_EQ(error, reason) << path;
    }
    ::truncate(big.c_str(), 4 * 1024 * 1024);  // exactly 4 MB: read
    Memory m;
    EXPECT_TRUE(qov::sim::loadState(m, big));
}

// Every save makes a new file and renames it over the old one: a reader (or a simulator killed
// in the middle of a save) never sees half a file.
TEST(StateFile, ASaveReplacesTheFileWholeThroughARename) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("reg.json").toStdString();
    Memory m;
    ASSERT_TRUE(qov::sim::saveState(m, path));
    const std::string before = qov::test::ReadFile(path);
    const int old = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(old, 0);
    m.articles["000000000042"].code = "000000000042";
    ASSERT_TRUE(qov::sim::saveState(m, path));
    std::string seen(before.size() + 16, '\0');
    seen.resize(static_cast<std::size_t>(::pread(old, seen.data(), seen.size(), 0)));
    ::close(old);
    EXPECT_EQ(seen, before);
    EXPECT_EQ(qov::test::ReadFile(path), qov::sim::memoryToJson(m));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"reg.json"});

    // a memory the next start would refuse is not written; the file keeps the last one
    const std::string last = qov::test::ReadFile(path);
    for (int i = 0; i < 15000; ++i)
        m.articles[std::to_string(100000000000LL + i)].code = std::to_string(100000000000LL + i);
    std::string error;
    EXPECT_FALSE(qov::sim::saveState(m, path, &error));
    EXPECT_TRUE(error.starts_with("larger than 4 MB (")) << error;
    EXPECT_TRUE(qov::test::ReadFile(path) == last);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"reg.json"});
}

}  // namespace
