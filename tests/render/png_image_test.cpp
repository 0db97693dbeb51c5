#include "platform/png_image.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "render/png_writer.h"
#include "support/child_process.h"

namespace fs = std::filesystem;

class PngDecoding : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("cadenzio_png_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<char> bytesOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(PngDecoding, GoodFileGivesRgbaOfItsSize) {
    fs::path path = dir / "good.png";
    ASSERT_TRUE(writeSolidPng(path, 3, 2, 0x10203040));
    RgbaImage image;
    ASSERT_TRUE(decodePngFile(path.c_str(), image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    ASSERT_EQ(image.pixels.size(), 3u * 2u * 4u);
    EXPECT_EQ(image.pixels[0], 0x10);
    EXPECT_EQ(image.pixels[1], 0x20);
    EXPECT_EQ(image.pixels[2], 0x30);
    EXPECT_EQ(image.pixels[23], 0x40);

    std::vector<char> bytes = bytesOf(path);
    RgbaImage fromMemory;
    ASSERT_TRUE(decodePngMemory(bytes.data(), bytes.size(), fromMemory));
    EXPECT_EQ(fromMemory.pixels, image.pixels);
}

TEST_F(PngDecoding, DamagedInputFailsCleanly) {
    fs::path path = dir / "good.png";
    ASSERT_TRUE(writeSolidPng(path, 64, 64, 0xFF0000FF));
    std::vector<char> bytes = bytesOf(path);
    RgbaImage image;

    // Every truncation point: the header alone, the middle of the data, all but the end chunk.
    for (size_t cut : {size_t(8), size_t(20), size_t(40), bytes.size() / 2, bytes.size() - 13}) {
        EXPECT_FALSE(decodePngMemory(bytes.data(), cut, image)) << "cut at " << cut;
        EXPECT_TRUE(image.pixels.empty());
        std::ofstream(dir / "cut.png", std::ios::binary).write(bytes.data(), std::streamsize(cut));
        EXPECT_FALSE(decodePngFile((dir / "cut.png").c_str(), image)) << "cut at " << cut;
    }

    std::vector<char> garbage(4096);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = char(i * 37 + 11);
    EXPECT_FALSE(decodePngMemory(garbage.data(), garbage.size(), image));
    // A PNG signature followed by garbage.
    std::copy(bytes.begin(), bytes.begin() + 8, garbage.begin());
    EXPECT_FALSE(decodePngMemory(garbage.data(), garbage.size(), image));

    EXPECT_FALSE(decodePngMemory(nullptr, 0, image));
    EXPECT_FALSE(decodePngFile((dir / "missing.png").c_str(), image));
    EXPECT_FALSE(decodePngFile(dir.c_str(), image)); // a directory

    // A named pipe is refused at once rather than waited on.
    const fs::path pipe = dir / "pipe.png";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const child::Ending ending =
        child::run([&] { return decodePngFile(pipe.c_str(), image) ? 1 : 0; });
    EXPECT_TRUE(ending.finished) << "decoding a named pipe hangs";
    EXPECT_EQ(ending.status, 0);
}

// The most memory the process has held so far.
long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

uint32_t crc32(const char* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= uint8_t(data[i]);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

TEST_F(PngDecoding, HugeDimensionsAreRefusedBeforeAllocating) {
    fs::path path = dir / "good.png";
    ASSERT_TRUE(writeSolidPng(path, 1, 1, 0xFFFFFFFF));
    std::vector<char> bytes = bytesOf(path);
    // Well-formed headers over a 1-pixel body: one side too long (20000 x 20000, 1.6 GB of
    // RGBA), and both sides allowed but 1 GB in all (16384 x 16384).
    long before = peakMemoryKiB();
    for (uint32_t side : {20000u, 16384u}) {
        for (int field : {16, 20}) {
            bytes[size_t(field)] = 0;
            bytes[size_t(field) + 1] = 0;
            bytes[size_t(field) + 2] = char(side >> 8);
            bytes[size_t(field) + 3] = char(side & 0xFF);
        }
        uint32_t crc = crc32(bytes.data() + 12, 17); // chunk type and data
        for (int i = 0; i < 4; ++i) bytes[size_t(29 + i)] = char(crc >> (24 - 8 * i));
        RgbaImage image;
        EXPECT_FALSE(decodePngMemory(bytes.data(), bytes.size(), image)) << side;
        EXPECT_TRUE(image.pixels.empty());
        EXPECT_LT(peakMemoryKiB() - before, 256 * 1024) << side << ": memory taken anyway";
    }
}
