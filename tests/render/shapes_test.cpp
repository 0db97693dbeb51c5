#include "render/shape_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

TEST(ShapeList, DropsARectangleThatDoesNotFitWhole) {
    ShapeList list = makeShapeList();
    list.count = 1048568;
    list.vertices.resize(list.count);
    EXPECT_TRUE(appendRectangleOutline(list, 0, 0, 1, 1, {1, 1, 1, 1}));
    EXPECT_EQ(list.count, shapeListCapacity);
    EXPECT_FALSE(appendRectangleOutline(list, 0, 0, 1, 1, {1, 1, 1, 1}));

    list.count = 1048569;
    EXPECT_FALSE(appendRectangleOutline(list, 0, 0, 1, 1, {1, 1, 1, 1}));
    EXPECT_EQ(list.count, 1048569u);
}

TEST(ShapeList, OutlineIsFourSeparateEdges) {
    using Segment = std::array<float, 4>;
    auto segments = [](float l, float t, float r, float b) {
        ShapeList list = makeShapeList();
        appendRectangleOutline(list, l, t, r, b, {0.5f, 0, 1, 1});
        EXPECT_EQ(list.count, 8u);
        EXPECT_EQ(list.vertices[3].z, 0);
        EXPECT_EQ(list.vertices[7].r, 0.5f);
        std::vector<Segment> out;
        for (int i = 0; i < 8; i += 2) {
            const LineVertex &a = list.vertices[size_t(i)], &b2 = list.vertices[size_t(i) + 1];
            Segment s{a.x, a.y, b2.x, b2.y};
            // Direction does not matter for a line.
            if (std::make_pair(s[0], s[1]) > std::make_pair(s[2], s[3]))
                s = {s[2], s[3], s[0], s[1]};
            out.push_back(s);
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    std::vector<Segment> normal = segments(10, 20, 30, 40);
    EXPECT_EQ(normal, (std::vector<Segment>{
                          {10, 20, 10, 40}, {10, 20, 30, 20}, {10, 40, 30, 40}, {30, 20, 30, 40}}));
    EXPECT_EQ(segments(30, 20, 10, 40), normal); // left and right swapped
}
