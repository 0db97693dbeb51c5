#include "render/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/glyph_rasterizer.h"
#include "render/text_queue.h"
#include "render/utf8.h"

TEST(TextColour, PacksRgbWithOpaqueAlpha) {
    EXPECT_EQ(packColour({1, 1, 0, 0.2f}), 0xFF00FFFFu);
    EXPECT_EQ(packColour({2, 0, 0, 1}), 0xFF0000FEu); // 510 keeps its low byte
    EXPECT_EQ(packColour({0.5f, 0.25f, 1, 0}), 0xFFFF3F7Fu);
    EXPECT_EQ(packColour({-0.5f, 0, 0, 1}), 0xFF000081u); // -127
    EXPECT_EQ(packColour({1e30f, NAN, 0, 1}), 0xFF000000u);
}

TEST(TextQueue, QueuesConvertedTextUntilThePass) {
    drawText("Hi", 1, 2, 20, {1, 1, 0, 1});
    drawText("", 0, 0, 10, {1, 1, 1, 1});
    drawText(nullptr, 0, 0, 10, {1, 1, 1, 1});
    const std::vector<TextCommand>& queue = textQueue();
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[0].text, u"Hi");
    EXPECT_EQ(queue[0].x, 1);
    EXPECT_EQ(queue[0].y, 2);
    EXPECT_EQ(queue[0].size, 20);
    EXPECT_EQ(queue[0].colour, 0xFF00FFFFu);
    EXPECT_TRUE(queue[1].text.empty());
    textPass(1920, 1080); // without a renderer it only empties the queue
    EXPECT_TRUE(textQueue().empty());
}

TEST(TextQueue, TextTooWideForItsColumnEndsInDotsBetweenCharacters) {
    // Without the renderer a character is 0.6 x size wide: 12 pixels at size 20.
    EXPECT_EQ(fitText("Short", 20, 60), "Short");
    EXPECT_EQ(fitText("Client Name:Port Name 128:0", 20, 120), "Client ...");
    EXPECT_EQ(fitText("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 20, 60),
              "\xc3\xa9\xc3\xa9...");
}

TEST(Utf8, WellFormedTextConverts) {
    EXPECT_EQ(utf8ToUtf16("abc"), u"abc");
    EXPECT_EQ(utf8ToUtf16("\xC3\xA9"), u"\u00E9");
    EXPECT_EQ(utf8ToUtf16("\xE2\x82\xAC"), u"\u20AC");
    EXPECT_EQ(utf8ToUtf16("\xEF\xBF\xBF"), u"\uFFFF");
    EXPECT_EQ(utf8ToUtf16("\xF0\x9D\x84\x9E"), std::u16string({0xD834, 0xDD1E}));
    EXPECT_EQ(utf8ToUtf16("\xF4\x8F\xBF\xBF"), std::u16string({0xDBFF, 0xDFFF}));
    EXPECT_EQ(utf8ToUtf16(std::string_view("a\0b", 3)), std::u16string({'a', 0, 'b'}));
}

TEST(Utf8, EachIllFormedSequenceBecomesOneReplacement) {
    const char16_t R = 0xFFFD;
    EXPECT_EQ(utf8ToUtf16("\x80"), std::u16string({R}));               // stray continuation
    EXPECT_EQ(utf8ToUtf16("a\xC3"), std::u16string({'a', R}));         // cut at the end
    EXPECT_EQ(utf8ToUtf16("\xC3("), std::u16string({R, '('}));         // broken by ASCII
    EXPECT_EQ(utf8ToUtf16("\xC0\x80"), std::u16string({R, R}));        // overlong NUL
    EXPECT_EQ(utf8ToUtf16("\xE0\x80\x80"), std::u16string({R, R, R})); // overlong
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), std::u16string({R, R, R})); // a surrogate
    EXPECT_EQ(utf8ToUtf16("\xF4\x90\x80\x80"), std::u16string(4, R));  // above U+10FFFF
    EXPECT_EQ(utf8ToUtf16("\xF0\x9D\x84x"), std::u16string({R, 'x'})); // one for the prefix
    EXPECT_EQ(utf8ToUtf16("\xE2\x82"), std::u16string({R}));
    EXPECT_EQ(utf8ToUtf16("\xF5\xFF\xFE"), std::u16string({R, R, R}));
    // A name in a single-byte code page keeps its readable parts.
    EXPECT_EQ(utf8ToUtf16("Caf\xE9 Song"), u"Caf\uFFFD Song");
}

TEST(GlyphRasterizer, FallsBackToAMonospaceFont) {
    ASSERT_TRUE(openGlyphFont("Consolas"));
    GlyphBitmap m, i, space;
    ASSERT_TRUE(rasterizeGlyph('M', 20, m));
    ASSERT_TRUE(rasterizeGlyph('i', 20, i));
    ASSERT_TRUE(rasterizeGlyph(' ', 20, space));
    EXPECT_GT(m.width, 0);
    EXPECT_GT(m.height, 0);
    EXPECT_EQ(m.coverage.size(), size_t(m.width) * size_t(m.height));
    EXPECT_GT(*std::max_element(m.coverage.begin(), m.coverage.end()), 200);
    EXPECT_GT(m.advance, 5);
    EXPECT_EQ(m.advance, i.advance);
    EXPECT_EQ(space.advance, m.advance);
    EXPECT_TRUE(space.coverage.empty() ||
                *std::max_element(space.coverage.begin(), space.coverage.end()) == 0);

    FontLineMetrics metrics = glyphLineMetrics(20);
    EXPECT_GT(metrics.ascender, 10);
    EXPECT_GT(metrics.lineHeight, metrics.ascender);
    EXPECT_FALSE(rasterizeGlyph('M', 0, m));
    closeGlyphFont();
    EXPECT_FALSE(rasterizeGlyph('M', 20, m));
}
