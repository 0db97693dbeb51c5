#pragma once
// A small text file of "key = value" lines that people may edit: comments, blank lines and keys
// this version does not know are kept when it is written back, so a newer version's settings and
// a user's notes survive an older one. A line that is neither is skipped with one line on
// standard error. A file that exists but cannot be read is never saved over.
#include <cstddef>
#include <string>
#include <vector>

struct KeyValueFile {
    struct Line {
        std::string key;  // empty for a comment or blank line
        std::string text; // the value, or the whole comment or blank line
    };
    std::string path;
    std::vector<Line> lines; // in file order
    bool savable = true;     // false when the file exists but could not be read
    bool changed = false;    // a value was set or removed since the last load or save
};

// Reads the file at path into file (which also remembers the path). A missing file gives an
// empty one; one that cannot be read, or is larger than a few megabytes, gives an empty one
// that is not savable, with one line on standard error.
void loadKeyValueFile(KeyValueFile& file, const std::string& path);

// Writes the file atomically when it changed; false, with a line on standard error, when that
// failed, and false without trying when it is not savable or was never loaded.
bool saveKeyValueFile(KeyValueFile& file);

// The value of key; nullptr when the file has none.
const std::string* findValue(const KeyValueFile& file, const std::string& key);
// Sets key's value in its line, or appends a line for it.
void setValue(KeyValueFile& file, const std::string& key, const std::string& value);
// Sets key's value and moves its line to the end, where the most recently used of a kind stand.
void setValueLast(KeyValueFile& file, const std::string& key, const std::string& value);
// Removes the oldest (first) lines whose key starts with prefix until at most keep are left.
void keepLastWithPrefix(KeyValueFile& file, const std::string& prefix, size_t keep);

// Text that may stand in a key or a value whatever bytes it holds: '%', '=', control bytes and
// spaces at either end are written as %XX, so a path reads back exactly.
std::string escapeText(const std::string& text);
std::string unescapeText(const std::string& text);

// Numbers as the file writes them; the readers leave out the value when the text is no number
// or lies outside low to high.
std::string formatNumber(double value);
bool readNumber(const std::string* text, double low, double high, double& value);
bool readNumber(const std::string* text, double low, double high, float& value);
bool readFlag(const std::string* text, bool& value);
