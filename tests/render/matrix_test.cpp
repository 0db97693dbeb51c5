#include "render/matrix.h"

#include <gtest/gtest.h>

#include <utility>

#include "render/sprite_batch.h"

// Sprites, lines and the UI once built this matrix each their own way; the shared one must give
// them the very same floats.
TEST(ViewportTransform, GivesTheLineAndUiMatricesExactly) {
    for (auto [w, h] : {std::pair{1920, 1080}, {1366, 768}, {7, 3}}) {
        // Lines: row by row for column vectors.
        const float lines[16] = {
            2.0f / float(w), 0, 0, -1, 0, -2.0f / float(h), 0, 1, 0, 0, 1, 0, 0, 0, 0, 1};
        Matrix4 m = viewportTransform(w, h);
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                EXPECT_EQ(m.m[col * 4 + row], lines[row * 4 + col]) << w << "x" << h;

        // The UI: left 0, right w, top 0, bottom h, column by column, z scale and offset 0.5.
        const float L = 0, R = float(w), T = 0, B = float(h);
        const float ui[16] = {2.0f / (R - L),
                              0,
                              0,
                              0,
                              0,
                              2.0f / (T - B),
                              0,
                              0,
                              0,
                              0,
                              0.5f,
                              0,
                              (R + L) / (L - R),
                              (T + B) / (B - T),
                              0.5f,
                              1};
        Matrix4 projection = viewportTransform(w, h, 0.5f, 0.5f);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(projection.m[i], ui[i]) << w << "x" << h << " " << i;
    }
}

TEST(ViewportTransform, SpriteBatchAppliesTheCallersTransformFirst) {
    Matrix4 seen;
    SpriteBatch batch{SpriteBatchTarget{[&](const SpritePipeline& p) { seen = p.transform; }, {}}};
    batch.setViewport(200, 100);
    Matrix4 shift; // ten pixels right
    shift.m[12] = 10;
    batch.Begin(SpriteSortMode::Deferred, {}, {}, {}, {}, shift);
    batch.End();
    // Pixel (190, 100) lands on the bottom-right corner of clip space.
    float x = 190 * seen.m[0] + 100 * seen.m[4] + seen.m[12];
    float y = 190 * seen.m[1] + 100 * seen.m[5] + seen.m[13];
    EXPECT_FLOAT_EQ(x, 1);
    EXPECT_FLOAT_EQ(y, -1);
}
