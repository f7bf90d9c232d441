// qovctl's key, display and logo commands against the register simulator.

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

// A 1 x 1 bitmap, 24 bits per pixel: file header, information header, one padded row.
std::string TinyBitmap() {
    std::string b = "BM";
    auto le32 = [&b](unsigned v) {
        for (int i = 0; i < 4; ++i) {
            b += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    auto le16 = [&b](unsigned v) {
        b += static_cast<char>(v & 0xFF);
        b += static_cast<char>(v >> 8);
    };
    le32(58);
    le32(0);
    le32(54);
    le32(40);
    le32(1);
    le32(1);
    le16(1);
    le16(24);
    le32(0);
    le32(4);
    le32(2835);
    le32(2835);
    le32(0);
    le32(0);
    b += std::string("\xFF\xFF\xFF\x00", 4);
    return b;
}

TEST_F(Qovctl, KeysTypeOnTheRegisterDisplay) {
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--demo"});
    EXPECT_EQ(run(device, {"display"}),
              "0|REGISTRACIJA    \n            0.00\nDOBRODOSLI      \n|");
    EXPECT_EQ(run(device, {"key", "seven", "comma", "five"}), "0||");
    EXPECT_EQ(run(device, {"display"}),
              "0|REGISTRACIJA    \n             7,5\nDOBRODOSLI      \n|");
    EXPECT_EQ(run(device, {"key", "clear", "key"}), "0||");
    const std::string moved = run(device, {"display"});
    EXPECT_EQ(moved.substr(0, 13), "0|X IZVESTAJI") << moved;
    EXPECT_EQ(run(device, {"key", "seven", "eleven"}).substr(0, 29),
              "2||qovctl: unknown key eleven");
}

TEST_F(Qovctl, LogoSendsABitmapIntoItsSlot) {
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0"});
    WriteFile(home + "logo.bmp", TinyBitmap());
    WriteFile(home + "text.bmp", "not a bitmap at all");
    EXPECT_EQ(run(device, {"logo", "2", home + "logo.bmp"}), "0||");
    EXPECT_EQ(run(device, {"logo", "1", home + "logo.bmp"}), "0||");
    EXPECT_EQ(run(device, {"logo", "1", home + "text.bmp"}).substr(0, 2), "1|");
    EXPECT_EQ(run(device, {"logo", "1", home + "missing.bmp"}),
              "1||qovctl: cannot read " + home + "missing.bmp\n");
    EXPECT_EQ(run(device, {"logo", "3", home + "logo.bmp"}).substr(0, 2), "2|");
}

}  // namespace
}  // namespace qov::test
