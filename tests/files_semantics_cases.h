// File-layer cases shared by the native tests and the Wine tests, so that the
// POSIX layer is held to what the Win32 layer really does. The including file
// provides, before including this:
//   std::string makeScratchFolder();            fresh empty folder, ending in a backslash
//   void removeScratchFolder(const std::string&);
//   bool blockCreateAlways(const std::string&); makes an existing file refuse a
//       create-always open that reads and writes, while a write-only truncating
//       open still works; false when this machine cannot arrange it
//   void unblockCreateAlways();
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"

class FileSemantics : public ::testing::Test {
protected:
    void SetUp() override { root = makeScratchFolder(); }
    void TearDown() override
    {
        unblockCreateAlways();
        removeScratchFolder(root);
    }

    void put(const std::string& name, const std::string& bytes)
    {
        ASSERT_TRUE(writeWholeFile(root + name, bytes)) << name;
    }
    std::string contentOf(const std::string& name) { return readWholeFile(root + name).value_or("<missing>"); }

    std::string root;
};

TEST_F(FileSemantics, WritingReplacesTheWholeContentByteForByte)
{
    const std::string bytes("line\r\n\0\xE4\xFF", 9);
    put("a.bin", bytes);
    EXPECT_EQ(contentOf("a.bin"), bytes);
    put("a.bin", "xy");
    EXPECT_EQ(contentOf("a.bin"), "xy");
    put("a.bin", "");
    ASSERT_TRUE(readWholeFile(root + "a.bin").has_value());
    EXPECT_EQ(contentOf("a.bin"), "");
}

TEST_F(FileSemantics, ReadingAndWritingFailWhereThereIsNoFile)
{
    ASSERT_TRUE(createDirectory(root + "sub"));
    const std::vector<std::string> paths = {"missing.txt", "sub", "sub\\", "nowhere\\a.txt"};
    for (const std::string& name : paths) {
        EXPECT_FALSE(readWholeFile(root + name).has_value()) << name;
        if (name == "missing.txt")
            continue;
        EXPECT_FALSE(writeWholeFile(root + name, "x")) << name;
        EXPECT_FALSE(writeWholeFile(root + name, "x", true)) << name;
    }
    EXPECT_FALSE(findEntry(root + "nowhere").found);
}

TEST_F(FileSemantics, TruncateFallbackWritesAFileThatRefusesCreateAlways)
{
    put("locked.zv", "old content");
    if (!blockCreateAlways(root + "locked.zv"))
        GTEST_SKIP() << "cannot make a file refuse create-always here";
    EXPECT_FALSE(writeWholeFile(root + "locked.zv", "new"));
    EXPECT_TRUE(writeWholeFile(root + "locked.zv", "new", true));
    unblockCreateAlways();
    EXPECT_EQ(contentOf("locked.zv"), "new");
}

TEST_F(FileSemantics, RenameNeverReplacesAnExistingTarget)
{
    struct Case {
        const char* from;
        const char* to;
        bool renamed;
    };
    const Case cases[] = {
        {"a", "b", false},        // target exists: both stay as they were
        {"missing", "c", false},  // no source
        {"a", "free", true},      // free target
        {"dir", "dir2", true},    // folders move too
        {"free", "dir2", false},  // a folder in the way
    };
    put("a", "A");
    put("b", "B");
    ASSERT_TRUE(createDirectory(root + "dir"));
    for (const Case& c : cases)
        EXPECT_EQ(renameFile(root + c.from, root + c.to), c.renamed) << c.from << " -> " << c.to;
    EXPECT_EQ(contentOf("b"), "B");
    EXPECT_EQ(contentOf("free"), "A");
    EXPECT_FALSE(findEntry(root + "a").found);
    EXPECT_FALSE(findEntry(root + "c").found);
    EXPECT_TRUE(findEntry(root + "dir2").isDirectory);
}

TEST_F(FileSemantics, CreateDirectoryMakesExactlyOneNewFolder)
{
    put("file", "x");
    ASSERT_TRUE(createDirectory(root + "existing"));
    struct Case {
        const char* name;
        bool created;
    };
    const Case cases[] = {
        {"new", true},
        {"existing", false},
        {"file", false},
        {"missing\\child", false},
        {"withslash\\", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(createDirectory(root + c.name), c.created) << c.name;
    EXPECT_TRUE(findEntry(root + "new").isDirectory);
    EXPECT_FALSE(findEntry(root + "missing").found);
}

TEST_F(FileSemantics, DeleteRemovesFilesOnly)
{
    put("file", "x");
    ASSERT_TRUE(createDirectory(root + "dir"));
    EXPECT_TRUE(deleteFile(root + "file"));
    EXPECT_FALSE(findEntry(root + "file").found);
    EXPECT_FALSE(deleteFile(root + "file"));
    EXPECT_FALSE(deleteFile(root + "dir"));
    EXPECT_TRUE(findEntry(root + "dir").isDirectory);
}

TEST_F(FileSemantics, ListingTellsEmptyFromMissingFromAFile)
{
    ASSERT_TRUE(createDirectory(root + "empty"));
    ASSERT_TRUE(createDirectory(root + "full"));
    put("full\\a", "1");
    put("full\\b.txt", "2");
    ASSERT_TRUE(createDirectory(root + "full\\sub"));
    put("plain", "x");
    struct Case {
        const char* pattern;
        ListResult result;
        std::vector<std::string> names; // sorted
    };
    const Case cases[] = {
        {"empty\\*.*", ListResult::Listed, {".", ".."}},
        {"full\\*.*", ListResult::Listed, {".", "..", "a", "b.txt", "sub"}},
        {"missing\\*.*", ListResult::Failed, {}},
        {"plain\\*.*", ListResult::Failed, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        EXPECT_EQ(listFolder(root + c.pattern, &names), c.result) << c.pattern;
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names) << c.pattern;
    }
}

TEST_F(FileSemantics, FindEntryTellsFilesFromFolders)
{
    put("file", "");
    ASSERT_TRUE(createDirectory(root + "dir"));
    struct Case {
        const char* name;
        bool found;
        bool isDirectory;
    };
    const Case cases[] = {{"file", true, false}, {"dir", true, true}, {"missing", false, false}};
    for (const Case& c : cases) {
        const FoundEntry entry = findEntry(root + c.name);
        EXPECT_EQ(entry.found, c.found) << c.name;
        EXPECT_EQ(entry.isDirectory, c.isDirectory) << c.name;
    }
}

// The program composes "<home>\" + "\velquor_ZV\...", so paths carry a doubled backslash.
TEST_F(FileSemantics, DoubledBackslashesActAsOneSeparator)
{
    const std::string data = root + "\\velquor_ZV\\";
    ASSERT_TRUE(createDirectory(data));
    EXPECT_TRUE(writeWholeFile(data + "data.ini", "[General]\r\n"));
    EXPECT_EQ(contentOf("velquor_ZV\\data.ini"), "[General]\r\n");
    EXPECT_TRUE(renameFile(data + "data.ini", data + "icon_0.png"));
    std::vector<std::string> names;
    EXPECT_EQ(listFolder(data + "*.*", &names), ListResult::Listed);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "icon_0.png"}));
    EXPECT_TRUE(findEntry(root + "\\velquor_ZV").isDirectory);
    EXPECT_TRUE(deleteFile(data + "icon_0.png"));
    EXPECT_FALSE(createDirectory(root + "\\velquor_ZV"));
}
