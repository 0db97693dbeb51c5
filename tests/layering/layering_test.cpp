// The folders' order, written down once: a file may include only from its own folder and from the
// folders its row allows. A folder missing from the table fails, so a new one takes its place here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top. songs, sound and render stand side by side and do not include each other; so do
// game and menu, which share the piano below them.
const std::map<std::string, std::set<std::string>> allowed = {
    {"platform", {}},
    {"songs", {"platform"}},
    {"sound", {"platform"}},
    {"render", {"platform"}},
    {"app", {"platform", "songs", "sound", "render"}},
    {"piano", {"platform", "songs", "sound", "render", "app"}},
    {"game", {"platform", "songs", "sound", "render", "app", "piano"}},
    {"menu", {"platform", "songs", "sound", "render", "app", "piano"}},
    {"shell", {"platform", "songs", "sound", "render", "app", "piano", "game", "menu"}},
    {"notepress", {"platform", "songs"}},
    {"tools", {"platform", "songs", "tools"}},
};

// Folders of their own kind: they may include any product folder.
const std::set<std::string> outside = {"tests",   "bench",   "fuzz", "build",
                                       "runtime", "scripts", "cmake"};

// Library headers only one folder may see. Tools are exempt: they paint textures with libpng.
struct Confined {
    std::regex header;
    std::string folder;
};
const std::vector<Confined> confined = {
    {std::regex(R"(^(SDL[^/]*\.h|epoxy/.*|GL/.*|X11/.*|png\.h|ft2build\.h|fontconfig/.*)$)"),
     "platform"},
    {std::regex(R"(^(unistd\.h|fcntl\.h|spawn\.h|dirent\.h|signal\.h|poll\.h|pthread\.h|sys/.*)$)"),
     "platform"},
    {std::regex(R"(^rtmidi/.*$)"), "sound"},
};

struct Include {
    std::string file;
    int line;
    std::string target;
    bool quoted;
};

std::vector<Include> includesOf(const fs::path& root, const fs::path& file) {
    static const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> found;
    std::ifstream in(file);
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        std::smatch m;
        if (std::regex_search(text, m, directive))
            found.push_back({fs::relative(file, root).string(), line, m[2], m[1] == "\""});
    }
    return found;
}

std::string topFolder(const std::string& relative) {
    const size_t slash = relative.find('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

// A header and its .cpp are one unit: "sound/sound_state.h" and "sound/sound_state.cpp" are
// "sound/sound_state".
std::string unitOf(const std::string& relative) {
    return fs::path(relative).replace_extension().string();
}

// Units of one folder that reach each other through their includes, one line per loop.
std::vector<std::string> includeLoops(const std::map<std::string, std::set<std::string>>& edges) {
    std::map<std::string, std::set<std::string>> reach;
    for (const auto& [unit, targets] : edges) {
        std::vector<std::string> open(targets.begin(), targets.end());
        std::set<std::string>& seen = reach[unit];
        while (!open.empty()) {
            const std::string next = open.back();
            open.pop_back();
            if (!seen.insert(next).second || !edges.count(next)) continue;
            for (const std::string& further : edges.at(next)) open.push_back(further);
        }
    }
    std::vector<std::string> loops;
    std::set<std::string> reported;
    for (const auto& [unit, reached] : reach) {
        if (!reached.count(unit) || reported.count(unit)) continue;
        std::string line;
        for (const std::string& other : reached)
            if (reach.count(other) && reach.at(other).count(unit)) {
                reported.insert(other);
                line += (line.empty() ? "" : ", ") + other;
            }
        loops.push_back(line + " include each other in a loop");
    }
    return loops;
}

// Every problem of the tree at root, one line each.
std::vector<std::string> layeringFaults(const fs::path& root) {
    std::vector<std::string> faults;
    std::map<std::string, std::set<std::string>>
        edges; // unit to the units of its folder it includes
    for (const fs::directory_entry& top : fs::directory_iterator(root)) {
        const std::string folder = top.path().filename().string();
        // Build folders (build, build-asan, build-fuzz, ...) hold generated code.
        if (!top.is_directory() || folder.starts_with(".") || folder.starts_with("build-") ||
            outside.count(folder))
            continue;
        bool hasCode = false;
        for (const auto& entry : fs::recursive_directory_iterator(top.path())) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            hasCode = true;
            if (!allowed.count(folder)) continue;
            for (const Include& inc : includesOf(root, entry.path())) {
                const std::string where = inc.file + ":" + std::to_string(inc.line) + " ";
                if (inc.quoted) {
                    const std::string target = topFolder(inc.target);
                    if (target == folder && unitOf(inc.target) != unitOf(inc.file))
                        edges[unitOf(inc.file)].insert(unitOf(inc.target));
                    if (target == folder || allowed.at(folder).count(target)) continue;
                    faults.push_back(where + "includes \"" + inc.target + "\" against the order");
                } else if (folder != "tools") {
                    for (const Confined& c : confined)
                        if (folder != c.folder && std::regex_match(inc.target, c.header))
                            faults.push_back(where + "includes <" + inc.target + ">, which only " +
                                             c.folder + "/ may see");
                }
            }
        }
        if (hasCode && !allowed.count(folder))
            faults.push_back(folder + "/ holds code but has no place in the layer table");
    }
    for (const std::string& loop : includeLoops(edges)) faults.push_back(loop);
    return faults;
}

struct Tree {
    fs::path root =
        fs::temp_directory_path() /
        ("cadenzio-layering-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Tree() { fs::create_directories(root); }
    ~Tree() { fs::remove_all(root); }
    void file(const std::string& relative, const std::string& text) const {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << text;
    }
};

} // namespace

TEST(Layering, NoIncludeRunsAgainstTheOrder) {
    const std::vector<std::string> faults = layeringFaults(CADENZIO_SOURCE_DIR);
    std::string listed;
    for (const std::string& fault : faults) listed += fault + "\n";
    EXPECT_TRUE(faults.empty()) << listed;
}

// The checker itself: it must see what it is there to catch.
TEST(Layering, CatchesUpwardAndSidewaysIncludesAndConfinedHeaders) {
    Tree tree;
    tree.file("sound/a.cpp",
              "#include \"sound/b.h\"\n#include \"platform/c.h\"\n#include <vector>\n");
    tree.file("app/ok.h", "#include \"render/colour.h\"\n");
    EXPECT_TRUE(layeringFaults(tree.root).empty());

    tree.file("sound/up.cpp", "#include \"app/app_context.h\"\n");
    tree.file("render/side.cpp", "  #  include \"songs/song.h\"\n");
    tree.file("game/sdl.cpp", "#include <SDL.h>\n#include <imgui.h>\n");
    tree.file("menu/midi.h", "#include <rtmidi/RtMidi.h>\n#include <sys/stat.h>\n");
    tree.file("newfolder/x.cpp", "int x;\n");
    // Within a folder: a header whose unit's .cpp includes it back.
    tree.file("render/a.h", "#include \"render/b.h\"\n");
    tree.file("render/b.cpp", "#include \"render/b.h\"\n#include \"render/a.h\"\n");
    const std::vector<std::string> faults = layeringFaults(tree.root);
    ASSERT_EQ(faults.size(), 7u);
    std::string all;
    for (const std::string& f : faults) all += f + "\n";
    for (const char* expected :
         {"sound/up.cpp:1 includes \"app/app_context.h\"",
          "render/side.cpp:1 includes \"songs/song.h\"", "game/sdl.cpp:1 includes <SDL.h>",
          "menu/midi.h:1 includes <rtmidi", "menu/midi.h:2 includes <sys/stat.h>",
          "newfolder/ holds code but has no place",
          "render/a, render/b include each other in a loop"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected << "\n" << all;
}
