#include "signature/template_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

TEST(SplitLines, LineEnds) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
    std::string crlf;
  };
  const Case cases[] = {
      {"", {}, ""},
      {"a", {"a"}, "a\r\n"},
      {"a\r\n", {"a"}, "a\r\n"},
      {"a\nb", {"a", "b"}, "a\r\nb\r\n"},
      {"a\rb\r", {"a", "b"}, "a\r\nb\r\n"},
      {"a\r\nb\n\rc", {"a", "b", "", "c"}, "a\r\nb\r\n\r\nc\r\n"},
      {"\r\n", {""}, "\r\n"},
      {"\n\n", {"", ""}, "\r\n\r\n"},
      {"x\r\r\ny", {"x", "", "y"}, "x\r\n\r\ny\r\n"},
      {std::string("n\0l\n", 4), {std::string("n\0l", 3)}, std::string("n\0l\r\n", 5)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
    EXPECT_EQ(ToCrLfLines(c.text), c.crlf) << testing::PrintToString(c.text);
  }
}

TEST(ReadLines, UnreadableGivesNoLines) {
  test::TestHome home;
  EXPECT_TRUE(ReadLines(home.Root() + "/missing.txt").empty());
  EXPECT_TRUE(ReadLines(home.Root()).empty());  // a folder
  EXPECT_FALSE(ReadFileBytes(home.Root()).has_value());
  test::WriteFile(home.Root() + "/two.txt", "one\rtwo");
  EXPECT_EQ(ReadLines(home.Root() + "/two.txt"), (std::vector<std::string>{"one", "two"}));
}

TEST(ListTemplateFiles, OrdinaryFilesOnly) {
  test::TestHome home;
  const std::string folder = home.Root() + "/templates/";
  test::MakeFolders(folder + "images");
  test::WriteFile(folder + "nb_text.txt", "t");
  test::WriteFile(folder + "Abc.htm", "a");
  test::WriteFile(folder + "empty.txt", "");
  test::WriteFile(folder + ".hidden.htm", "h");
  test::WriteFile(home.Root() + "/elsewhere.htm", "e");
  ASSERT_EQ(::symlink((home.Root() + "/elsewhere.htm").c_str(), (folder + "linked.htm").c_str()),
            0);
  ASSERT_EQ(::symlink((folder + "images").c_str(), (folder + "dirlink").c_str()), 0);
  ASSERT_EQ(::symlink((folder + "gone.htm").c_str(), (folder + "dangling.htm").c_str()), 0);

  // Sorted without regard to case, as the folder listing of the original platform was.
  EXPECT_EQ(ListTemplateFiles(folder),
            (std::vector<std::string>{"Abc.htm", "empty.txt", "linked.htm", "nb_text.txt"}));
  EXPECT_TRUE(ListTemplateFiles(home.Root() + "/nowhere").empty());
}

TEST(FolderIsEmpty, OnlyAnExistingFolderWithoutEntries) {
  test::TestHome home;
  const std::string folder = home.Root() + "/f";
  EXPECT_FALSE(FolderIsEmpty(folder));  // missing
  test::MakeFolders(folder);
  EXPECT_TRUE(FolderIsEmpty(folder));
  EXPECT_TRUE(FolderIsEmpty(folder + "/"));
  test::WriteFile(folder + "/.hidden", "");
  EXPECT_FALSE(FolderIsEmpty(folder));
  EXPECT_FALSE(FolderIsEmpty(folder + "/.hidden"));  // a file, not a folder
}

}  // namespace
}  // namespace nimbalo
