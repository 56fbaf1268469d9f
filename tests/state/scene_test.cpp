// The scene: pictures and sprites by name, patterns and drawing order.
#include <gtest/gtest.h>

#include "state/scene.h"

namespace {

cabdrive::Picture picture(int width, int height, std::uint32_t colour = 0xFF000000)
{
    cabdrive::Picture p;
    p.width = width;
    p.height = height;
    p.pixels.assign(static_cast<std::size_t>(width * height), colour);
    return p;
}

TEST(Scene, NamesAreComparedWithoutRegardToCase)
{
    cabdrive::Scene scene;
    scene.addPicture("img_Lamp_Gen", picture(8, 4));
    scene.addSprite("img_Lamp_Gen", cabdrive::SpriteKind::Plain, 10, 20, 54);
    ASSERT_NE(scene.sprite("img_lamp_gen"), nullptr);
    scene.setVisible("IMG_LAMP_GEN", false);
    EXPECT_FALSE(scene.sprite("img_Lamp_Gen")->visible);
    EXPECT_EQ(scene.sprite("img_lamp_gen")->width, 8);
    EXPECT_EQ(scene.sprite("img_lamp_gen")->height, 4);
}

TEST(Scene, OperationsOnAMissingSpriteDoNothing)
{
    cabdrive::Scene scene;
    scene.setVisible("img_Lamp_EB", true);
    scene.setPattern("img_Lamp_EB", 3);
    scene.setAngle("img_Lamp_EB", 3);
    scene.setPosition("img_Lamp_EB", 1, 2);
    scene.showPatternIfPresent("img_Lamp_EB", 0);
    EXPECT_EQ(scene.sprite("img_Lamp_EB"), nullptr);
    EXPECT_EQ(scene.patternCount("img_Lamp_EB"), 0);
    EXPECT_EQ(scene.spriteCount(), 0u);
}

TEST(Scene, APatternIsShownOnlyWhenThePictureHasThatManyCells)
{
    cabdrive::Scene scene;
    auto& strip = scene.addPicture("img_lamp_p", picture(60, 20));
    strip.patternWidth = 20;  // three cells side by side
    scene.addSprite("img_lamp_p", cabdrive::SpriteKind::Plain, 0, 0, 31);
    EXPECT_EQ(scene.patternCount("img_lamp_p"), 3);
    EXPECT_EQ(scene.sprite("img_lamp_p")->width, 20) << "a sprite is one pattern wide";
    scene.showPatternIfPresent("img_lamp_p", 2);
    EXPECT_EQ(scene.sprite("img_lamp_p")->pattern, 2);
    scene.showPatternIfPresent("img_lamp_p", 3);
    scene.showPatternIfPresent("img_lamp_p", -1);
    EXPECT_EQ(scene.sprite("img_lamp_p")->pattern, 2);
}

TEST(Scene, TheBottomLeftPixelKeysTransparency)
{
    cabdrive::Scene scene;
    auto p = picture(3, 2, 0xFF00FF00);
    p.pixels[3] = 0xFFFF00FF;  // (0, 1): bottom left
    auto& entry = scene.addPicture("img_Lamp_Door", p);
    entry.keyByBottomLeftPixel();
    EXPECT_TRUE(entry.transparent);
    EXPECT_EQ(entry.transparentColour, 0xFFFF00FFu);
}

TEST(Scene, SpritesAreDrawnInAscendingZAndEqualZInOrderOfCreation)
{
    cabdrive::Scene scene;
    for (const char* name : {"a", "b", "c", "d"})
        scene.addPicture(name, picture(1, 1));
    scene.addSprite("a", cabdrive::SpriteKind::Plain, 0, 0, 64);
    scene.addSprite("b", cabdrive::SpriteKind::Plain, 0, 0, 0);
    scene.addSprite("c", cabdrive::SpriteKind::Plain, 0, 0, 54);
    scene.addSprite("d", cabdrive::SpriteKind::Plain, 0, 0, 54);
    std::string order;
    for (const cabdrive::Sprite* sprite : scene.spritesInDrawingOrder())
        order += sprite->name;
    EXPECT_EQ(order, "bcda");
}

}  // namespace
