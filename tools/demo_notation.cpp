#include "tools/demo_notation.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

uint8_t parseKey(const std::string& token, const std::string& pitch) {
    static const int semitone[] = {9, 11, 0, 2, 4, 5, 7}; // A to G
    if (pitch.size() < 2 || pitch[0] < 'A' || pitch[0] > 'G') fail("bad pitch in " + token);
    int key = semitone[pitch[0] - 'A'];
    size_t i = 1;
    if (pitch[i] == '#')
        ++key, ++i;
    else if (pitch[i] == 'b')
        --key, ++i;
    if (i >= pitch.size() || pitch.size() - i > 2 ||
        pitch.find_first_not_of("0123456789", i) != std::string::npos)
        fail("bad octave in " + token);
    key += (std::stoi(pitch.substr(i)) + 1) * 12;
    if (key < 0 || key > 127) fail("key out of range in " + token);
    return uint8_t(key);
}

uint32_t parseValue(const std::string& token, const std::string& value) {
    uint32_t ticks = 0;
    switch (value.empty() ? ' ' : value[0]) {
    case 'w':
        ticks = 4 * demoTicksPerQuarter;
        break;
    case 'h':
        ticks = 2 * demoTicksPerQuarter;
        break;
    case 'q':
        ticks = demoTicksPerQuarter;
        break;
    case 'e':
        ticks = demoTicksPerQuarter / 2;
        break;
    case 's':
        ticks = demoTicksPerQuarter / 4;
        break;
    default:
        fail("bad value in " + token);
    }
    if (value == std::string(1, value[0]) + ".") return ticks + ticks / 2;
    if (value.size() != 1) fail("bad value in " + token);
    return ticks;
}

// A dynamic mark: a level, or the start of a hairpin towards the next level. Levels scale the
// hand's own velocity, which stays its mezzo forte, so a softer accompaniment stays softer.
struct DynamicMark {
    uint32_t tick;
    double level;      // 0 for a hairpin
    int direction = 0; // +1 crescendo, -1 diminuendo
};

double markLevel(const std::string& mark) {
    static const std::map<std::string, double> levels{{"pp", 0.5}, {"p", 0.67}, {"mp", 0.83},
                                                      {"mf", 1.0}, {"f", 1.22}, {"ff", 1.44}};
    const auto found = levels.find(mark);
    return found == levels.end() ? 0 : found->second;
}

// The level at tick t: the last mark before it, or a point on the hairpin it falls in.
double levelAt(const std::vector<DynamicMark>& marks, uint32_t t) {
    double level = 1.0;
    const DynamicMark* swell = nullptr;
    for (const DynamicMark& m : marks) {
        if (m.tick > t) {
            if (m.level == 0) continue;
            if (swell == nullptr) break;
            const double along = double(t - swell->tick) / double(m.tick - swell->tick);
            return level + (m.level - level) * along;
        }
        if (m.level != 0) {
            level = m.level;
            swell = nullptr;
        } else {
            swell = &m;
        }
    }
    return level;
}

// One line of a bar: its own clock and the notes of its last token that may be tied on.
struct Line {
    uint32_t now = 0;
    std::vector<size_t> tied;
    bool used = false;
};

struct Written {
    NoteEvent note;
    bool accent;
};

} // namespace

ParsedVoice parseVoice(const Piece& piece, const Voice& voice) {
    ParsedVoice out;
    std::vector<Written> written;
    std::vector<DynamicMark> marks;
    const uint32_t bar = piece.beatsPerBar * 4 * demoTicksPerQuarter / piece.beatUnit;
    std::vector<uint32_t> barStarts{0};
    std::vector<Line> lines(1);
    lines[0].used = true;
    size_t current = 0;
    std::istringstream tokens(voice.notes);
    std::string token;
    // Faults name the piece, the hand and, where there is one, the bar.
    const std::string hand = std::string(piece.title) + ", " + voice.name;
    auto failInBar = [&](size_t number, const std::string& what) {
        throw std::runtime_error(hand + ", bar " + std::to_string(number) + ": " + what);
    };
    auto fail = [&](const std::string& what) { failInBar(barStarts.size(), what); };
    // Every line of the bar ends where the first does; ties may not reach into a silent line.
    auto closeBar = [&]() {
        const uint32_t length = lines[0].now - barStarts.back();
        for (size_t l = 1; l < lines.size(); ++l) {
            if (lines[l].used && lines[l].now != lines[0].now)
                fail("line " + std::to_string(l + 1) + " of " +
                     std::to_string(lines[l].now - barStarts.back()) + " ticks");
        }
        return length;
    };
    auto openBar = [&](uint32_t start) {
        barStarts.push_back(start);
        for (size_t l = 0; l < lines.size(); ++l) {
            if (!lines[l].used && !lines[l].tied.empty()) fail("tie to nothing");
            lines[l].now = start;
            lines[l].used = l == 0;
        }
        current = 0;
    };
    while (tokens >> token) {
        Line& line = lines[current];
        if (token == "|") {
            const uint32_t length = closeBar();
            if (length > bar || (barStarts.size() > 1 && length != bar))
                fail("bar of " + std::to_string(length) + " ticks");
            openBar(barStarts.back() + length);
            continue;
        }
        if (token == ";") {
            if (++current == lines.size()) lines.push_back({});
            if (lines[current].used) fail("line written twice");
            lines[current].now = barStarts.back();
            lines[current].used = true;
            continue;
        }
        if (token[0] == '@') {
            out.tempos.push_back({line.now, std::stod(token.substr(1))});
            continue;
        }
        if (token[0] == '!') {
            const std::string mark = token.substr(1);
            if (mark == "<" || mark == ">")
                marks.push_back({line.now, 0, mark == "<" ? 1 : -1});
            else if (const double level = markLevel(mark); level > 0)
                marks.push_back({line.now, level});
            else
                fail("bad dynamic mark " + token);
            continue;
        }
        const size_t colon = token.find(':');
        if (colon == std::string::npos) fail("no value in " + token);
        std::string value = token.substr(colon + 1);
        bool tieOn = false, accent = false;
        while (!value.empty() && (value.back() == '~' || value.back() == '^')) {
            (value.back() == '~' ? tieOn : accent) = true;
            value.pop_back();
        }
        const uint32_t length = parseValue(token, value);
        const std::string pitches = token.substr(0, colon);
        std::vector<size_t> nowTied;
        if (pitches == "r") {
            if (tieOn || accent) fail("marked rest");
        } else {
            std::istringstream chord(pitches);
            std::string pitch;
            while (std::getline(chord, pitch, '+')) {
                const uint8_t key = parseKey(token, pitch);
                auto held = std::find_if(line.tied.begin(), line.tied.end(),
                                         [&](size_t n) { return written[n].note.key == key; });
                size_t index = written.size();
                if (held != line.tied.end()) {
                    index = *held;
                    written[index].note.length += length;
                } else {
                    written.push_back({{line.now, length, key, voice.velocity, false}, accent});
                }
                written[index].note.tiedOn = tieOn;
                if (tieOn) nowTied.push_back(index);
            }
        }
        for (size_t n : line.tied)
            if (written[n].note.tiedOn &&
                std::find(nowTied.begin(), nowTied.end(), n) == nowTied.end())
                fail("tie to nothing");
        line.tied = nowTied;
        line.now += length;
    }
    const uint32_t length = closeBar();
    if (length > bar) fail("last bar too long");
    for (const Line& line : lines)
        if (!line.tied.empty()) fail("tie to nothing");
    out.end = barStarts.back() + length;

    std::stable_sort(marks.begin(), marks.end(),
                     [](const DynamicMark& a, const DynamicMark& b) { return a.tick < b.tick; });
    for (size_t i = 0; i < marks.size(); ++i) {
        if (marks[i].level != 0) continue;
        const double from = levelAt(marks, marks[i].tick);
        auto to = std::find_if(marks.begin() + long(i), marks.end(),
                               [](const DynamicMark& m) { return m.level != 0; });
        if (to == marks.end() || (to->level - from) * marks[i].direction <= 0)
            throw std::runtime_error(hand + ": a hairpin without a mark it leads to");
    }

    // Downbeats a little louder; a pickup's first note is not one.
    const bool pickup = barStarts.size() > 1 && barStarts[1] < bar;
    std::stable_sort(written.begin(), written.end(), [](const Written& a, const Written& b) {
        return a.note.start < b.note.start;
    });
    for (Written& w : written) {
        NoteEvent& note = w.note;
        const bool downbeat = std::binary_search(barStarts.begin(), barStarts.end(), note.start);
        int velocity = int(voice.velocity * levelAt(marks, note.start) + 0.5);
        if (downbeat && !(pickup && note.start == 0)) velocity += 8;
        if (w.accent) velocity += 12;
        note.velocity = uint8_t(std::clamp(velocity, 1, 127));
        out.notes.push_back(note);
    }

    // Lines may share keys, but a key sounds once at a time.
    std::map<uint8_t, uint32_t> heldUntil;
    for (const NoteEvent& note : out.notes) {
        auto held = heldUntil.find(note.key);
        if (held != heldUntil.end() && held->second > note.start) {
            const uint32_t barIndex =
                uint32_t(std::upper_bound(barStarts.begin(), barStarts.end(), note.start) -
                         barStarts.begin());
            failInBar(barIndex,
                      "key " + std::to_string(note.key) + " struck while it still sounds");
        }
        heldUntil[note.key] = note.start + note.length;
    }
    return out;
}
