#include "app/key_value_file.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"

namespace {

// Far beyond what the program writes (a few hundred kilobytes at most); a larger file is no
// file of ours and is not read into memory.
constexpr uint64_t largestFile = 8 << 20;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string trimmed(const std::string& text, size_t begin, size_t end) {
    while (begin < end && isSpace(text[begin])) ++begin;
    while (end > begin && isSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

void parseLine(KeyValueFile& file, const std::string& line, size_t number) {
    const std::string content = trimmed(line, 0, line.size());
    if (content.empty() || content[0] == '#') {
        file.lines.push_back({"", line});
        return;
    }
    const size_t equals = content.find('=');
    const std::string key = equals == std::string::npos ? "" : trimmed(content, 0, equals);
    if (key.empty()) {
        std::fprintf(stderr, "%s: line %zu is not \"key = value\" and is left out\n",
                     file.path.c_str(), number);
        return;
    }
    file.lines.push_back({key, trimmed(content, equals + 1, content.size())});
}

KeyValueFile::Line* findLine(KeyValueFile& file, const std::string& key) {
    for (KeyValueFile::Line& line : file.lines)
        if (line.key == key) return &line;
    return nullptr;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

void loadKeyValueFile(KeyValueFile& file, const std::string& path) {
    file.path = path;
    file.lines.clear();
    file.savable = true;
    file.changed = false;
    std::vector<uint8_t> bytes;
    FileProblem problem = FileProblem::None;
    if (!readFileBytes(path, bytes, largestFile, &problem)) {
        if (problem == FileProblem::Missing) return;
        std::fprintf(stderr, "%s: %s; it is left as it is and not saved over\n", path.c_str(),
                     describeFileProblem(problem));
        file.savable = false;
        return;
    }
    const std::string text(bytes.begin(), bytes.end());
    size_t number = 1;
    for (size_t start = 0; start < text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
        parseLine(file, text.substr(start, lineEnd - start), number);
        start = end + 1;
    }
}

bool saveKeyValueFile(KeyValueFile& file) {
    // A file never loaded has no place to go (a program test's application).
    if (!file.savable || file.path.empty()) return false;
    if (!file.changed) return true;
    std::string text;
    for (const KeyValueFile::Line& line : file.lines) {
        if (line.key.empty())
            text += line.text;
        else
            text += line.key + " = " + line.text;
        text += '\n';
    }
    std::string problem;
    if (!replaceFile(file.path, text.data(), text.size(), &problem)) {
        std::fprintf(stderr, "Could not save %s\n", problem.c_str());
        return false;
    }
    file.changed = false;
    return true;
}

const std::string* findValue(const KeyValueFile& file, const std::string& key) {
    for (const KeyValueFile::Line& line : file.lines)
        if (line.key == key) return &line.text;
    return nullptr;
}

void setValue(KeyValueFile& file, const std::string& key, const std::string& value) {
    KeyValueFile::Line* line = findLine(file, key);
    if (line && line->text == value) return;
    if (line)
        line->text = value;
    else
        file.lines.push_back({key, value});
    file.changed = true;
}

void setValueLast(KeyValueFile& file, const std::string& key, const std::string& value) {
    if (!file.lines.empty() && file.lines.back().key == key) return setValue(file, key, value);
    std::erase_if(file.lines, [&](const KeyValueFile::Line& line) { return line.key == key; });
    file.lines.push_back({key, value});
    file.changed = true;
}

void keepLastWithPrefix(KeyValueFile& file, const std::string& prefix, size_t keep) {
    auto matches = [&](const KeyValueFile::Line& line) {
        return !line.key.empty() && line.key.compare(0, prefix.size(), prefix) == 0;
    };
    size_t count = 0;
    for (const KeyValueFile::Line& line : file.lines) count += matches(line);
    if (count <= keep) return;
    size_t drop = count - keep;
    std::erase_if(file.lines, [&](const KeyValueFile::Line& line) {
        if (drop == 0 || !matches(line)) return false;
        --drop;
        return true;
    });
    file.changed = true;
}

std::string escapeText(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // Spaces at the ends would be trimmed, and a leading '#' would read as a comment.
        const bool edge = (c == ' ' && (i == 0 || i + 1 == text.size())) || (c == '#' && i == 0);
        if (c == '%' || c == '=' || c < 0x20 || c == 0x7F || edge) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string unescapeText(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
            hexDigit(text[i + 2]) >= 0) {
            out += char(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string formatNumber(double value) {
    // The shortest text that reads back as the same float: "0.05", not "0.0500000007".
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, float(value));
    return std::string(buffer, result.ptr);
}

bool readNumber(const std::string* text, double low, double high, double& value) {
    if (!text || text->empty()) return false;
    double read = 0;
    const char* end = text->data() + text->size();
    const auto result = std::from_chars(text->data(), end, read);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(read)) return false;
    if (read < low || read > high) return false;
    value = read;
    return true;
}

bool readNumber(const std::string* text, double low, double high, float& value) {
    double read = 0;
    if (!readNumber(text, low, high, read)) return false;
    value = float(read);
    return true;
}

bool readFlag(const std::string* text, bool& value) {
    if (!text) return false;
    if (*text == "1" || *text == "on" || *text == "true") {
        value = true;
        return true;
    }
    if (*text == "0" || *text == "off" || *text == "false") {
        value = false;
        return true;
    }
    return false;
}
