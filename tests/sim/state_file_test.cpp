// The register's memory file.
#include "state_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

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

}  // namespace
