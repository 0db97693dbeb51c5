// The library scan on real folders: which entries become songs and folders, links, names that
// are no UTF-8, folders that cannot be read, and emptying the library again.
#include "menu/library_scan.h"
#include "menu/name_order.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    writeBytes(path, {});
}

std::string nameOf(const FolderNode& node) {
    return node.path.substr(node.path.rfind('/') + 1);
}

// The children's names in order, folders marked with their song count: "Bach(2)".
std::vector<std::string> listing(const FolderNode& folder) {
    std::vector<std::string> names;
    for (const auto& child : folder.children) {
        std::string name = nameOf(*child);
        if (child->kind == FolderNode::Folder) name += "(" + std::to_string(child->songCount) + ")";
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

const FolderNode* child(const FolderNode& folder, const std::string& name) {
    for (const auto& node : folder.children)
        if (nameOf(*node) == name) return node.get();
    return nullptr;
}

class LibraryScan : public ::testing::Test {
  protected:
    void SetUp() override {
        root = makeSongFolderTree();
        root->children[0]->path = songs().string();
        root->children[1]->path = (folder.path / "Imported Songs").string();
    }
    fs::path songs() const { return folder.path / "Songs"; }
    FolderNode& top() { return *root->children[0]; }
    void scan() { scanLibrary(*root, lock, keepScanning); }

    TempFolder folder;
    std::unique_ptr<FolderNode> root;
    std::mutex lock;
    std::atomic<bool> keepScanning{true};
};

TEST_F(LibraryScan, FoldersWithSongsStayWithTheirCountsAndEmptyOnesGo) {
    touch(songs() / "Bach" / "a.mid");
    touch(songs() / "Bach" / "b.MIDI");
    fs::create_directories(songs() / "Empty");
    touch(songs() / "Empty" / "notes.txt");
    touch(songs() / "Deep" / "er" / "est" / "c.fff");
    scan();

    EXPECT_EQ(sorted(listing(top())), (std::vector<std::string>{"Bach(2)", "Deep(1)"}));
    EXPECT_EQ(top().songCount, 3);
    const FolderNode* bach = child(top(), "Bach");
    ASSERT_NE(bach, nullptr);
    EXPECT_EQ(bach->parent, &top());
    EXPECT_EQ(bach->path, songs().string() + "/Bach");
    EXPECT_EQ(sorted(listing(*bach)), (std::vector<std::string>{"a.mid", "b.MIDI"}));
    for (const auto& song : bach->children) {
        EXPECT_EQ(song->kind, FolderNode::MidiFile);
        EXPECT_EQ(song->songCount, 0);
        EXPECT_EQ(song->parent, bach);
    }
    const FolderNode* deepest = child(*child(*child(top(), "Deep"), "er"), "est");
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(deepest->children[0]->kind, FolderNode::SongFile);

    // A top folder that does not exist stays, empty; the root is never counted.
    const FolderNode& imported = *root->children[1];
    EXPECT_TRUE(imported.children.empty());
    EXPECT_EQ(imported.songCount, 0);
    EXPECT_EQ(root->songCount, 0);
}

TEST_F(LibraryScan, FoldersComeFirstThenSongsByNameAsPeopleReadThem) {
    for (const char* name :
         {"Song 10.mid", "song 2.mid", "Song 1.mid", "Silent Night.mid", "Frere Jacques.mid",
          "b.mid", "B.mid", "Song 02.mid", "\xff.mid", "\xc3\xa9t\xc3\xa9.mid", "\xfe.mid",
          "Song 100000000000000000001.mid", "Song 99999999999999999999.mid"})
        touch(songs() / name);
    touch(songs() / "zebra" / "a.mid");
    touch(songs() / "Alpha" / "a.mid");
    scan();
    EXPECT_EQ(listing(top()),
              (std::vector<std::string>{
                  "Alpha(1)", "zebra(1)", "B.mid", "b.mid", "Frere Jacques.mid", "Silent Night.mid",
                  "Song 1.mid", "Song 02.mid", "song 2.mid", "Song 10.mid",
                  "Song 99999999999999999999.mid", "Song 100000000000000000001.mid",
                  "\xc3\xa9t\xc3\xa9.mid", "\xfe.mid", "\xff.mid"}));
    EXPECT_FALSE(nameBefore("a", "a"));
}

TEST_F(LibraryScan, ExtensionsCountInAnyCaseInTheEntrysOwnName) {
    for (const char* name : {"piece.Mid", "piece.MID", "piece.fff", "notes.txt", "README"})
        touch(songs() / name);
    touch(songs() / "Vol.2" / "inside.mid");
    fs::create_directories(songs() / "Folder.mid"); // a folder is no song, whatever its name
    // A top folder with a dot in its own path still shows its sub-folders.
    touch(folder.path / "my.music" / "Sub" / "x.mid");
    root->children[1]->path = (folder.path / "my.music").string();
    scan();
    EXPECT_EQ(sorted(listing(top())),
              (std::vector<std::string>{"Vol.2(1)", "piece.MID", "piece.Mid", "piece.fff"}));
    EXPECT_EQ(listing(*root->children[1]), std::vector<std::string>{"Sub(1)"});
    EXPECT_EQ(child(top(), "piece.fff")->kind, FolderNode::SongFile);

    EXPECT_EQ(songKindOf("./Songs/x.midi"), FolderNode::MidiFile);
    EXPECT_EQ(songKindOf("./Songs/x.FfF"), FolderNode::SongFile);
    EXPECT_EQ(songKindOf("./Songs/Bach"), FolderNode::Folder);
    EXPECT_EQ(songKindOf("../Songs"), FolderNode::Folder); // the dots of "../" are no extension
    EXPECT_EQ(songKindOf("./Songs.old/Bach"), FolderNode::Folder); // nor one further up
    EXPECT_EQ(songKindOf("/home/me/.local/my.music/x.mid"), FolderNode::MidiFile);
    EXPECT_EQ(songKindOf("./Songs/.mid"), FolderNode::MidiFile);
}

TEST_F(LibraryScan, LinksToFoldersAreNotFollowedAndLinkedFilesAreListed) {
    touch(songs() / "Bach" / "a.mid");
    fs::create_directory_symlink(songs(), songs() / "Bach" / "loop");
    fs::create_directory_symlink("..", songs() / "up");
    touch(folder.path / "Elsewhere" / "outside.mid");
    fs::create_directory_symlink(folder.path / "Elsewhere", songs() / "Elsewhere");
    fs::create_symlink(folder.path / "Elsewhere" / "outside.mid", songs() / "linked.mid");
    fs::create_symlink(folder.path / "missing.mid", songs() / "broken.mid");
    scan();
    EXPECT_EQ(sorted(listing(top())), (std::vector<std::string>{"Bach(1)", "linked.mid"}));
    EXPECT_EQ(top().songCount, 2);

    // A top folder may itself be a link the user chose.
    root->children[1]->path = (folder.path / "Chosen").string();
    fs::create_directory_symlink(folder.path / "Elsewhere", folder.path / "Chosen");
    emptyLibrary(*root, lock);
    scan();
    EXPECT_EQ(listing(*root->children[1]), std::vector<std::string>{"outside.mid"});
}

TEST_F(LibraryScan, NamesThatAreNoUtf8KeepTheirBytes) {
    const std::string bad = "\xff\xfe piece.mid", badFolder = "Bad \xc3(";
    touch(songs() / bad);
    touch(songs() / badFolder / "a.mid");
    scan();
    EXPECT_EQ(sorted(listing(top())), sorted({bad, badFolder + "(1)"}));
    EXPECT_EQ(child(top(), badFolder)->children[0]->path,
              songs().string() + "/" + badFolder + "/a.mid");
}

TEST_F(LibraryScan, FoldersThatCannotBeReadAreLeftOut) {
    touch(songs() / "Open" / "a.mid");
    touch(songs() / "Locked" / "b.mid");
    touch(songs() / "Locked" / "Inner" / "c.mid");
    fs::permissions(folder.path,
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(songs() / "Locked", fs::perms::none);
    // Root reads anything, so the scan runs as an unprivileged user in a child.
    const child::Ending ending = child::run([&] {
        if (!child::dropRoot()) return 10;
        scan();
        if (listing(top()) != std::vector<std::string>{"Open(1)"}) return 11;
        return top().songCount == 1 ? 0 : 12;
    });
    fs::permissions(songs() / "Locked", fs::perms::owner_all);
    ASSERT_TRUE(ending.finished);
    EXPECT_EQ(ending.status, 0);
}

TEST_F(LibraryScan, AStopKeepsWhatWasAttachedAndEmptyingClearsTheTopFolders) {
    touch(songs() / "Bach" / "a.mid");
    touch(songs() / "b.mid");
    keepScanning = false;
    scan();
    EXPECT_TRUE(top().children.empty());

    keepScanning = true;
    scan();
    EXPECT_EQ(top().songCount, 2);
    emptyLibrary(*root, lock);
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(top().path, songs().string());
    EXPECT_TRUE(top().children.empty());
    EXPECT_EQ(top().songCount, 0);

    scan();
    EXPECT_EQ(top().songCount, 2);
}

} // namespace
