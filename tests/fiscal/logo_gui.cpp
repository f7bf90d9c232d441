// The logo screens' widgets: the slot choice opening the picture screen, the picture, the
// cancelled dialog, a file that is no bitmap.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRadioButton>

#include "fiscal/logo_screen.h"
#include "support/fake_station.h"
#include "support/test_environment.h"

namespace qov::fiscal {
namespace {

struct LogoGui : ::testing::Test, test::FakeStation {
    std::string folder = test::MakeTempFolder("qovlogo") + "/";
};

TEST_F(LogoGui, Logo2OpensThePictureScreenBesideWithTheChosenBitmap) {
    QImage image(40, 12, QImage::Format_Mono);
    image.fill(1);
    const std::string bmp = folder + "logo.bmp";
    ASSERT_TRUE(image.save(QString::fromStdString(bmp), "BMP"));
    dialogs.openWith(bmp);

    std::unique_ptr<QWidget> picture;
    QWidget* besideOf = nullptr;
    GraphicLogoScreen screen(station, [&](QWidget* p, QWidget* beside) {
        picture.reset(p);
        besideOf = beside;
    });
    screen.option(2)->setChecked(true);
    screen.otvori();
    EXPECT_EQ(link.textsOf("send_frame"), std::vector<std::string>{"N1"});
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(besideOf, &screen);
    auto* shown = dynamic_cast<LogoPictureScreen*>(picture.get());
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->hasPicture());
    EXPECT_EQ(shown->windowTitle().toStdString(), "Logo - " + bmp);

    shown->pressToolbar("Salva");
    EXPECT_EQ(link.textsOf("Invialogo"), std::vector<std::string>{bmp});
}

TEST_F(LogoGui, NoSlotOpensNothing) {
    int opened = 0;
    GraphicLogoScreen screen(station, [&](QWidget* p, QWidget*) {
        delete p;
        ++opened;
    });
    screen.otvori();
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(link.calls.empty());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Izaberite logo ."});
}

TEST_F(LogoGui, CancelledDialogLeavesAnEmptyScreenWhosePosaljiDoesNothing) {
    LogoPictureScreen screen(station);
    screen.show();
    screen.start();
    EXPECT_FALSE(screen.hasPicture());
    EXPECT_EQ(screen.windowTitle(), "Logo");
    screen.pressToolbar("Salva");
    EXPECT_TRUE(link.calls.empty());
    EXPECT_TRUE(screen.isVisible());
    screen.pressToolbar("Annulla");
    EXPECT_FALSE(screen.isVisible());
}

TEST_F(LogoGui, AFileThatIsNoBitmapShowsNothing) {
    for (const std::string& name : {std::string("text.bmp"), std::string("missing.bmp")}) {
        if (name == "text.bmp") {
            test::WriteFile(folder + name, "BM but not a bitmap");
        }
        dialogs.openWith(folder + name);
        LogoPictureScreen screen(station);
        screen.start();
        EXPECT_FALSE(screen.hasPicture()) << name;
        EXPECT_EQ(state.LogoFilePath, folder + name);
    }
}

}  // namespace
}  // namespace qov::fiscal
