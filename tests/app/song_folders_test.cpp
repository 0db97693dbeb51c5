#include <gtest/gtest.h>

#include "app/song_folders.h"

TEST(SongFolders, SongFolderTreeStartsWithTheTwoSongFolders) {
    const std::unique_ptr<FolderNode> tree = makeSongFolderTree();
    ASSERT_NE(tree, nullptr);
    const FolderNode& root = *tree;
    EXPECT_EQ(root.path, "../");
    EXPECT_EQ(root.parent, nullptr);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0]->path, "./Songs");
    EXPECT_EQ(root.children[1]->path, "./Imported Songs");
    for (const auto& child : root.children) {
        EXPECT_EQ(child->parent, &root);
        EXPECT_EQ(child->kind, FolderNode::Folder);
        EXPECT_EQ(child->songCount, 0);
        EXPECT_TRUE(child->children.empty());
    }
}
