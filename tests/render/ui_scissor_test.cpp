// The UI's clip rectangles as scissor boxes in the picture's viewport.
#include <gtest/gtest.h>

#include <array>

#include "render/ui_binding.h"

namespace {

std::array<int, 4> box(const UiClip& clip, std::array<int, 4> viewport) {
    std::array<int, 4> out{};
    uiScissorBox(clip, viewport.data(), 1920, 1080, out.data());
    return out;
}

using Box = std::array<int, 4>;

} // namespace

TEST(UiScissor, UnscaledClipsAreTheLibrarysRectanglesTruncated) {
    EXPECT_EQ(box({100, 200, 400, 300}, {0, 0, 1920, 1080}), (Box{100, 780, 300, 100}));
    EXPECT_EQ(box({0, 0, 1920, 1080}, {0, 0, 1920, 1080}), (Box{0, 0, 1920, 1080}));
    EXPECT_EQ(box({10.5f, 20.5f, 100.7f, 50.2f}, {0, 0, 1920, 1080}), (Box{10, 1031, 90, 29}));
    // Full size between bars on an ultra-wide screen: only moved.
    EXPECT_EQ(box({0, 0, 100, 100}, {320, 0, 1920, 1080}), (Box{320, 980, 100, 100}));
}

TEST(UiScissor, ScaledClipsCoverEveryPixelTheyTouch) {
    // A 4:3 screen: the picture is 1024 x 576 with bars of 96 above and below.
    const std::array<int, 4> picture{0, 96, 1024, 576};
    EXPECT_EQ(box({0, 0, 1920, 1080}, picture), (Box{0, 96, 1024, 576}));
    // 746.7 to 917.3 across, 416 to 490.7 down.
    EXPECT_EQ(box({1400, 780, 1720, 920}, picture), (Box{746, 181, 172, 75}));
    // Two thirds, with an offset: whole units that land on whole pixels stay exact.
    EXPECT_EQ(box({300, 150, 600, 450}, {10, 20, 1280, 720}), (Box{210, 440, 200, 200}));
    // An empty clip stays empty.
    EXPECT_EQ(box({500, 500, 500, 500}, picture)[2], 0);
}
