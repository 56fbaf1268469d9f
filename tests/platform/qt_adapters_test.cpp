// The Qt adapters: the per-user store on QSettings and picture loading.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QSettings>

#include "data/display_options.h"
#include "platform/qt/qimage_picture_loader.h"
#include "platform/qt/qsettings_key_value_store.h"
#include "support/temp_folder.h"

namespace cabdrive {
namespace {

TEST(QSettingsStore, KeepsOptionsAndStatesInIniFilesOfTheUser)
{
    test::TempFolder home;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(home.path().string()));
    QSettingsKeyValueStore store;

    EXPECT_EQ(store.readInt(optionsKeyPath, "Kanko"), std::nullopt);
    writeDisplayOptions(store, DisplayOptions{1, 0, 0, 1, 1});
    const DisplayOptions o = readDisplayOptions(store);
    EXPECT_EQ(o.Kanko, 1);
    EXPECT_EQ(o.Information, 0);
    EXPECT_EQ(o.Tunnel, 1);
    EXPECT_EQ(o.Moji, 1);
    EXPECT_TRUE(std::filesystem::exists(home.path() / "Cabdrive" / "kestra.ini"));

    EXPECT_TRUE(store.writeString(optionsKeyPath, "State1", "line_down.dat,2,0,1500,1200,81234,0"));
    EXPECT_EQ(store.readString(optionsKeyPath, "State1"), "line_down.dat,2,0,1500,1200,81234,0");
    EXPECT_EQ(store.readInt(optionsKeyPath, "State1"), std::nullopt);

    home.write("Cabdrive/vqcontroller.ini", "[General]\nP0=3\nP1=-7\nP2=x\nP3=99999999999\n");
    EXPECT_EQ(store.readInt(controllerKeyPath, "P0"), 3);
    EXPECT_EQ(store.readInt(controllerKeyPath, "P1"), -7);
    EXPECT_EQ(store.readInt(controllerKeyPath, "P2"), std::nullopt);
    EXPECT_EQ(store.readInt(controllerKeyPath, "P3"), std::nullopt);
    EXPECT_EQ(store.readString(controllerKeyPath, "P9"), std::nullopt);
}

TEST(QImagePictureLoader, DecodesPicturesToArgbAndRefusesWhatItCannotRead)
{
    test::TempFolder temp;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    image.setPixelColor(0, 1, QColor(10, 20, 30));
    const auto bmp = temp.path() / "lamp.bmp";
    ASSERT_TRUE(image.save(QString::fromStdString(bmp.string()), "BMP"));

    QImagePictureLoader loader;
    const auto picture = loader.load(bmp);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 3);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(picture->pixel(0, 1), 0xFF0A141Eu);  // bottom-left
    EXPECT_EQ(picture->pixel(2, 0), 0xFFFF00FFu);

    EXPECT_FALSE(loader.load(temp.path() / "missing.bmp"));
    EXPECT_FALSE(loader.load(temp.write("broken.bmp", "BM not really a bitmap")));
}

}  // namespace
}  // namespace cabdrive
