#pragma once
// Whole-file reads and atomic whole-file replacement, for the files the songs code owns.
#include <cstdint>
#include <string>
#include <vector>

// Reads the regular file at path in one go. False when it cannot be opened or read.
bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

// Writes bytes to a new file beside path and renames it over path, so path holds either its old
// content or the new one, never a part. False, with no temporary file left, on any failure.
bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size);
