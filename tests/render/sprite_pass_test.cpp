#include "render/sprite_pass.h"

#include <gtest/gtest.h>

TEST(SpriteQueue, DrawSpriteTruncatesTowardZero) {
    Sprite sprite;
    sprite.textureIndex = 3;
    sprite.x = 3.7f;
    sprite.y = -0.5f;
    sprite.width = 10;
    sprite.height = 4.9f;
    sprite.scaleX = 2;
    sprite.rotation = 0.25f;
    drawSprite(sprite);
    sprite.x = -1.5f;
    sprite.y = 1e30f; // far out of range stays defined
    drawSprite(sprite);

    const std::vector<SpriteCommand>& queue = spriteQueue();
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].textureIndex, 3);
    EXPECT_EQ(queue[0].destination.left, 3);
    EXPECT_EQ(queue[0].destination.right, 23); // 3.7 + 20 = 23.7
    EXPECT_EQ(queue[0].destination.top, 0);    // -0.5
    EXPECT_EQ(queue[0].destination.bottom, 4); // 4.4
    EXPECT_EQ(queue[0].rotation, 0.25f);
    EXPECT_EQ(queue[1].destination.left, -1);
    EXPECT_EQ(queue[1].destination.top, INT32_MAX);

    spritePass(1920, 1080); // without a sprite pass it only empties the queue
    EXPECT_TRUE(spriteQueue().empty());
}
