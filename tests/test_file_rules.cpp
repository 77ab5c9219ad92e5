// The file list's plain rules: the extension test, size texts, the patterns, file lengths.
#include "mainwin/file_rules.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace quelvane {
namespace {

using testing::ScratchDir;

TEST(FileRules, ExtensionTest)
{
    const struct {
        const char *path;
        bool passes;
    } cases[] = {
        {"/v/clip.avi", true},         {"/v/clip.Avi", true},
        {"/v/clip.AVI", true},         {"/v/clip.mp4", true},
        {"/v/clip.mp", true},          // leading part of ".MP4" and ".MPG"
        {"/v/clip.t", true},           {"/v/clip.web", true},
        {"/v/clip.mts", true},         {"/v/clip.txt", false},
        {"/v/clip", false},            {"/v/clip.", true}, // "." occurs in the patterns
        {"/v.avi/clip", false},        // the folder's dot is not the file's
        {"/v/clip.avi.txt", false},    {"/v/clip.txt.mkv", true},
        {"/v/clip.ävi", false},        // only a to z change case
        {"/v/clip.*", false},          {"/v/clip.;*", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(passes_extension_test(c.path), c.passes);
    }
}

TEST(FileRules, SizeTexts)
{
    const struct {
        std::uint64_t bytes;
        const char *text;
    } cases[] = {
        {0, "0 KB"},
        {511, "0 KB"},
        {512, "0 KB"}, // half a kilobyte goes to the even neighbour
        {513, "1 KB"},
        {1536, "2 KB"}, // 1.5 goes to 2
        {2560, "2 KB"}, // 2.5 goes to 2
        {3584, "4 KB"},
        {1'022'976, "999 KB"},
        {1'024'000, "1,000 KB"},
        {1'536'000, "1,500 KB"},
        {1'263'616, "1,234 KB"},
        {1'264'127, "1,234 KB"},
        {1'264'128, "1,234 KB"}, // 1234.5 -> 1234
        {1'264'129, "1,235 KB"},
        {1'264'127'000, "1,234,499 KB"},
        {1'073'741'824'000, "1,048,576,000 KB"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(size_text(c.bytes), c.text);
    }
}

TEST(FileRules, PatternsSplitIntoTheFourteenFormats)
{
    const std::vector<std::string> expected = {"*.AVI", "*.MPG", "*.MPEG", "*.WMV", "*.MP4",
                                               "*.M4V", "*.FLV", "*.MKV",  "*.WEBM", "*.MOV",
                                               "*.VOB", "*.ASF", "*.TS",   "*.MTS"};
    EXPECT_EQ(split_patterns(video_patterns), expected);
    EXPECT_EQ(split_patterns("*.A;;*.B"), (std::vector<std::string>{"*.A", "", "*.B"}));
    EXPECT_EQ(split_patterns("*.A"), std::vector<std::string>{"*.A"});
    EXPECT_TRUE(split_patterns("").empty());
}

TEST(FileRules, OpenDialogFilterMatchesAnyLetterCase)
{
    EXPECT_EQ(case_blind_filter("*.AVI;*.M4V;"), "*.[Aa][Vv][Ii] *.[Mm]4[Vv]");
}

TEST(FileRules, CountAndFolderTexts)
{
    EXPECT_EQ(count_text(0), "0 Files");
    EXPECT_EQ(count_text(1), "1 Files");
    EXPECT_EQ(count_text(12), "12 Files");
#ifdef _WIN32
    EXPECT_EQ(folder_with_separator(" C:\\a\\b \t"), "C:\\a\\b\\");
    EXPECT_EQ(folder_with_separator("C:\\a\\b\\"), "C:\\a\\b\\");
    EXPECT_EQ(folder_with_separator("C:\\"), "C:\\");
#else
    EXPECT_EQ(folder_with_separator(" /a/b \t"), "/a/b/");
    EXPECT_EQ(folder_with_separator("/a/b/"), "/a/b/");
    EXPECT_EQ(folder_with_separator("/"), "/");
#endif
}

TEST(FileRules, FileLengthOrTheReasonWithThePath)
{
    const ScratchDir dir;
    EXPECT_EQ(file_length(dir.write("five.avi", "12345")), 5u);
    EXPECT_EQ(file_length(dir.write("empty.avi", "")), 0u);

    const struct {
        std::string path;
        const char *reason;
    } failures[] = {
        {dir.file("missing.avi"), "No such file or directory"},
        {dir.path(), "Is a directory"},
    };
    for (const auto &f : failures) {
        SCOPED_TRACE(f.path);
        try {
            file_length(f.path);
            ADD_FAILURE() << "no error";
        } catch (const FileOpenError &error) {
            EXPECT_EQ(std::string(error.what()),
                      "Cannot open file \"" + f.path + "\". " + f.reason);
        }
    }
}

TEST(FileRules, FolderEntriesSkipFoldersAndOtherNames)
{
    const ScratchDir dir;
    dir.write("a.avi", "");
    dir.write("b.MKV", "");
    dir.write("notes.txt", "");
    dir.write(".hidden.mp4", "");
    std::filesystem::create_directory(dir.file("clips.avi"));
    std::filesystem::create_directory(dir.file("sub"));
    dir.write("sub/deep.avi", "");
#ifdef _WIN32
    // Symbolic links need a privilege there.
    const std::vector<std::string> expected = {".hidden.mp4", "a.avi", "b.MKV"};
#else
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file("broken.mov"));
    const std::vector<std::string> expected = {".hidden.mp4", "a.avi", "b.MKV", "broken.mov"};
#endif

    std::vector<std::string> names = video_entries(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(video_entries(dir.file("missing")).empty());
}

} // namespace
} // namespace quelvane
