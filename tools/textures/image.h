#pragma once
// Finished 8-bit RGBA images (straight alpha, rows top to bottom) and their PNG files.
#include <cstdint>
#include <string>
#include <vector>

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba; // width * height * 4 bytes
};

Image makeImage(int width, int height);
// Pointer to the four bytes of texel (x, y); the caller keeps x and y inside the image.
uint8_t* texel(Image& image, int x, int y);
const uint8_t* texel(const Image& image, int x, int y);

// Writes the image as an 8-bit RGBA PNG. False (with a reason in error) on failure.
bool writePng(const Image& image, const std::string& path, std::string& error);
// Reads any PNG as 8-bit RGBA; false (with a reason in error) when the file cannot be decoded.
bool readPng(const std::string& path, Image& image, std::string& error);
