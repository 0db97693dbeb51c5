#include "render/texture_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "render/atlas_list.h"
#include "render/png_writer.h"
#include "render/sprite_pass.h"
#include "render/texture_source.h"
#include "support/child_process.h"

namespace fs = std::filesystem;

TEST(NameHash, IsDjb2OverSignedBytes) {
    EXPECT_EQ(nameHash(""), 5381u);
    EXPECT_EQ(nameHash("a"), 5381u * 33 + 'a');
    EXPECT_EQ(nameHash("ab"), (5381u * 33 + 'a') * 33 + 'b');
    // Bytes above 0x7F count as negative.
    EXPECT_EQ(nameHash("\xE9"), 5381u * 33 - 23);
    EXPECT_NE(nameHash("cursor.png"), nameHash("./cursor.png"));
}

// Registry over a temporary folder, with GPU uploads replaced by counted fake textures.
class Registry : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("cadenzio_tex_" + std::to_string(::getpid()));
    std::map<std::string, int> reads;
    int uploads = 0;
    int releases = 0;

    void SetUp() override {
        fs::create_directories(dir);
        TextureSource fake;
        fake.decode = [this](const std::string& path, RgbaImage& image) {
            ++reads[fs::path(path).filename().string()];
            return decodePngFile(path.c_str(), image);
        };
        fake.upload = [this](const RgbaImage& image) {
            return GpuTexture{uint32_t(++uploads), image.width, image.height};
        };
        fake.release = [this](GpuTexture&) { ++releases; };
        setTextureSource(fake);
        createTextureRegistry(dir.c_str());
    }
    void TearDown() override {
        releaseTextureRegistry();
        setTextureSource(pngTextureSource());
        fs::remove_all(dir);
    }
    void writeText(const char* name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    Rect sourceOf(int32_t index) {
        const TextureEntry* entry = textureEntry(index);
        return entry ? entry->source : Rect{-1, -1, -1, -1};
    }
};

TEST_F(Registry, SameNameGivesOneEntryAndOneRead) {
    ASSERT_TRUE(writeSolidPng((dir / "a.png").string(), 24, 7, 0xFFFFFFFF));
    ASSERT_TRUE(writeSolidPng((dir / "b.png").string(), 5, 9, 0xFFFFFFFF));
    int32_t first = loadTexture("a.png");
    EXPECT_EQ(loadTexture("a.png"), first);
    EXPECT_EQ(reads["a.png"], 1);
    int32_t other = loadTexture("b.png");
    EXPECT_EQ(other, first + 1);

    float w = 0, h = 0;
    textureSize(first, w, h);
    EXPECT_EQ(w, 24);
    EXPECT_EQ(h, 7);
    Rect source = sourceOf(other);
    EXPECT_EQ(source.right, 5);
    EXPECT_EQ(source.bottom, 9);

    // A differently written path is a different name and a second read.
    EXPECT_NE(loadTexture("./a.png"), first);
    EXPECT_EQ(reads["a.png"], 2);

    Sprite sprite;
    sprite.x = 4;
    sprite.colour = {0.5f, 0.5f, 0.5f, 1};
    loadSprite(sprite, "b.png");
    EXPECT_EQ(sprite.textureIndex, other);
    EXPECT_EQ(sprite.width, 5);
    EXPECT_EQ(sprite.height, 9);
    EXPECT_EQ(sprite.x, 4);
    EXPECT_EQ(sprite.colour.r, 0.5f);

    releaseTextureRegistry();
    EXPECT_EQ(releases, uploads);
}

TEST_F(Registry, UnloadableFilesShowOnePlaceholderAndAreReportedOnce) {
    writeText("garbage.png", "not a picture at all");
    testing::internal::CaptureStderr();
    int32_t missing = loadTexture("missing.png");
    int32_t garbage = loadTexture("garbage.png");
    EXPECT_EQ(loadTexture("missing.png"), missing);
    std::string log = testing::internal::GetCapturedStderr();

    EXPECT_NE(missing, garbage);
    float w = 0, h = 0;
    textureSize(missing, w, h);
    EXPECT_GT(w, 8); // large enough to be seen
    EXPECT_GT(h, 8);
    EXPECT_EQ(textureEntry(missing)->source.right, textureEntry(garbage)->source.right);
    EXPECT_EQ(uploads, 1); // the placeholder, shared
    size_t first = log.find("missing.png");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("missing.png", first + 1), std::string::npos);
    EXPECT_NE(log.find("garbage.png"), std::string::npos);

    RgbaImage checker = placeholderImage();
    EXPECT_EQ(checker.width, int32_t(w));
    EXPECT_EQ(checker.pixels.size(), size_t(checker.width) * size_t(checker.height) * 4);

    releaseTextureRegistry();
    EXPECT_EQ(releases, 1);
}

TEST_F(Registry, UnknownIndicesHaveNoEntryAndNoSize) {
    float w = 1, h = 1;
    textureSize(7, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(textureEntry(-1), nullptr);
    EXPECT_EQ(textureEntry(0), nullptr);
}

TEST_F(Registry, AtlasRegionsShadowFilesOfTheSameName) {
    ASSERT_TRUE(writeSolidPng((dir / "notes2.png").string(), 64, 32, 0xFFFFFFFF));
    ASSERT_TRUE(writeSolidPng((dir / "NoteTop.png").string(), 3, 3, 0xFFFFFFFF));
    writeText("notes2.txt", "2\nNoteTop.png 0 0 24 7\nNoteBot.png 0 7 24 14\n");
    loadAtlas();
    EXPECT_EQ(reads["notes2.png"], 1);

    int32_t top = loadTexture("NoteTop.png");
    int32_t bottom = loadTexture("NoteBot.png");
    EXPECT_EQ(reads["NoteTop.png"], 0);
    Rect source = sourceOf(bottom);
    EXPECT_EQ(source.top, 7);
    EXPECT_EQ(source.right, 24);
    EXPECT_EQ(source.bottom, 14);
    EXPECT_EQ(textureEntry(top)->texture, textureEntry(bottom)->texture);
    float w = 0, h = 0;
    textureSize(top, w, h);
    EXPECT_EQ(w, 24);
    EXPECT_EQ(h, 7);
}

TEST_F(Registry, MissingAtlasListLoadsNothing) {
    ASSERT_TRUE(writeSolidPng((dir / "notes2.png").string(), 8, 8, 0xFFFFFFFF));
    loadAtlas();
    EXPECT_EQ(reads["notes2.png"], 0);
    EXPECT_EQ(textureEntry(0), nullptr);
}

TEST_F(Registry, DamagedAtlasListKeepsTheRegionsBeforeTheDamage) {
    ASSERT_TRUE(writeSolidPng((dir / "notes2.png").string(), 8, 8, 0xFFFFFFFF));
    writeText("notes2.txt", "1000000000\nfirst 1 2 3 4\nsecond 1 x 3 4\nthird 1 2 3 4\n");
    testing::internal::CaptureStderr();
    loadAtlas();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("line 3"), std::string::npos);
    EXPECT_EQ(sourceOf(loadTexture("first")).right, 3);
    // Not in the atlas, so looked for as a file.
    loadTexture("third");
    EXPECT_EQ(reads["third"], 1);
}

// Pipes where the list and a texture belong: neither waits for a writer; the atlas is skipped and
// the texture drawn as the placeholder.
TEST_F(Registry, PipesInPlaceOfTheListOrATextureAreRefused) {
    ASSERT_TRUE(writeSolidPng((dir / "notes2.png").string(), 8, 8, 0xFFFFFFFF));
    ASSERT_EQ(mkfifo((dir / "notes2.txt").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir / "cursor.png").c_str(), 0600), 0);
    const child::Ending ending = child::run([&] {
        loadAtlas();
        const int32_t cursor = loadTexture("cursor.png");
        // Only the cursor's entry, with the placeholder's size.
        float w = 0, h = 0;
        textureSize(cursor, w, h);
        return cursor == 0 && w == 32 && h == 32 && reads["notes2.png"] == 0 ? 0 : 1;
    });
    EXPECT_TRUE(ending.finished) << "a named pipe hangs the texture loading";
    EXPECT_EQ(ending.status, 0);

    fs::remove(dir / "notes2.txt");
    fs::create_directory(dir / "notes2.txt");
    testing::internal::CaptureStderr();
    loadAtlas();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, "\"" + (dir / "notes2.txt").string() +
                       "\" is not a regular file; the atlas is not loaded\n");
    EXPECT_EQ(textureEntry(0), nullptr);
}

TEST(AtlasList, ReadsCountThenNamedRectangles) {
    AtlasList list = parseAtlasList("2\r\n a 1 2 3 4\n\nb -5 6 +7 8");
    EXPECT_FALSE(list.damaged);
    ASSERT_EQ(list.regions.size(), 2u);
    EXPECT_EQ(list.regions[0].name, "a");
    EXPECT_EQ(list.regions[1].source.left, -5);
    EXPECT_EQ(list.regions[1].source.right, 7);
    // Text after the counted regions is ignored.
    EXPECT_EQ(parseAtlasList("1\na 1 2 3 4\nb oops").regions.size(), 1u);
    EXPECT_TRUE(parseAtlasList("0").regions.empty());
    EXPECT_FALSE(parseAtlasList("-4\n").damaged);
}

TEST(AtlasList, DamageStopsReadingWithoutCrashing) {
    const char* damaged[] = {
        "",                        // no count
        "many\na 1 2 3 4",         // count not a number
        "3\na 1 2 3 4\n",          // fewer regions than counted
        "1\na 1 2 3",              // a region cut short
        "1\na 1 2 3 99999999999",  // a number out of range
        "1\na 1 2 - 4",            // a sign without digits
        "\xff\xfe\x00\x01garbage", // binary
    };
    for (const char* text : damaged) {
        AtlasList list = parseAtlasList(text);
        EXPECT_TRUE(list.damaged) << text;
        EXPECT_LE(list.regions.size(), 1u) << text;
    }
    std::string longest(255, 'n'), tooLong(256, 'n');
    EXPECT_EQ(parseAtlasList("1\n" + longest + " 0 0 1 1").regions.size(), 1u);
    AtlasList list = parseAtlasList("2\nok 0 0 1 1\n" + tooLong + " 0 0 1 1");
    EXPECT_TRUE(list.damaged);
    EXPECT_EQ(list.damagedLine, 3);
    ASSERT_EQ(list.regions.size(), 1u);
    EXPECT_EQ(list.regions[0].name, "ok");
}
