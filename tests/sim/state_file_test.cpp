// The register's memory file.
#include "state_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "register_model.h"
#include "support/test_environment.h"

namespace {

using qov::sim::Memory;

TEST(StateFile, EveryTableSurvivesARestartByteForByte) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("reg.json").toStdString();
    qov::sim::RegisterModel model;
    auto& m = model.memory();
    m.departments[3].name = std::string(
        "\xC8"
        "A\"J' \0X\\  ",
        12);  // NUL, quotes, 8-bit
    m.cashiers[30].code = "   12";
    m.currencies[2].rate = "117,50000";
    m.vatRates[8].rate = "2000";
    m.types[0] = std::string("MLEKO\0      ", 12);
    m.header[5] = std::string(1, '\0') + std::string(31, ' ');
    m.advert[0] =
        "\x1b"
        "A"
        "\x1b"
        "B";
    m.logos[1] = std::string("BM\0\xFF\x01", 5);
    m.identity.serial = "ZZ9999";
    m.receiptsSinceDaily = 7;
    ASSERT_EQ(model
                  .execute("PR123456789012"
                           "09" +
                           std::string(28, 'N') +
                           "00000725"
                           "1897")
                  .status,
              'A');
    ASSERT_EQ(model.execute("x").status, 'A');
    m.departments[3].sales = 123456789012LL;  // after the report, which zeroes it
    ASSERT_TRUE(qov::sim::saveState(m, path));

    Memory back;
    ASSERT_TRUE(qov::sim::loadState(back, path));
    EXPECT_EQ(qov::sim::memoryToJson(back), qov::sim::memoryToJson(m));
    EXPECT_EQ(back.departments[3].name, m.departments[3].name);
    EXPECT_EQ(back.departments[3].sales, 123456789012LL);
    EXPECT_EQ(back.types[0], m.types[0]);
    EXPECT_EQ(back.logos[1], m.logos[1]);
    ASSERT_EQ(back.articles.size(), 1u);
    EXPECT_EQ(back.articles.at("123456789012").unit, 9);
    ASSERT_EQ(back.dailyRecords.size(), 1u);
    EXPECT_EQ(back.dailyRecords[0].receipts, 7);
}

TEST(StateFile, MissingFileLeavesTheMemoryAndBrokenFilesAreRefused) {
    QTemporaryDir dir;
    Memory m;
    m.units[0] = "XYZ";
    EXPECT_TRUE(qov::sim::loadState(m, dir.filePath("none.json").toStdString()));
    EXPECT_EQ(m.units[0], "XYZ");
    const std::string broken = dir.filePath("broken.json").toStdString();
    qov::test::WriteFile(broken, "{\"units\": [\"ABC\"");
    EXPECT_FALSE(qov::sim::loadState(m, broken));
    EXPECT_EQ(m.units[0], "XYZ");
}

TEST(StateFile, WrongValuesAreKeptInShape) {
    Memory m;
    ASSERT_TRUE(qov::sim::memoryFromJson(R"({
        "departments": [{"name": "AB", "maxPrice": -5, "sales": "junk"}],
        "units": ["kilogram", 5],
        "articles": [{"code": "12", "name": "SHORT"},
                     {"code": "000000000001", "vat": 99, "department": 3, "price": 1e300}],
        "system": "0"
    })",
                                         m));
    EXPECT_EQ(m.departments[0].name, "AB          ");
    EXPECT_EQ(m.departments[0].maxPrice, 0);
    EXPECT_EQ(m.departments[0].sales, 0);
    EXPECT_EQ(m.units[0], "kil");
    EXPECT_EQ(m.units[1], "kg ");
    ASSERT_EQ(m.articles.size(), 1u);  // a code that is not 12 characters is dropped
    const auto& a = m.articles.at("000000000001");
    EXPECT_EQ(a.vat, 0);
    EXPECT_EQ(a.department, 3);
    EXPECT_EQ(a.price, 0);
    EXPECT_EQ(a.name.size(), 28u);
    EXPECT_EQ(m.system, "0             ");
    EXPECT_FALSE(qov::sim::memoryFromJson("[1, 2]", m));
}

}  // namespace
