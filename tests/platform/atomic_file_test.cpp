#include "platform/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

namespace fs = std::filesystem;

// Makes writes beyond `bytes` fail (EFBIG) while it lives; works for root as well.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limited = old_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_signal_);
  }

 private:
  rlimit old_{};
  void (*old_signal_)(int) = nullptr;
};

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder))
    names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class WriteFileAtomicallyTest : public ::testing::Test {
 protected:
  test::TestHome home_;
  std::string folder_ = home_.Root() + "/sigs";
  std::string path_ = folder_ + "/SIG_nb_html.htm";
  void SetUp() override { test::MakeFolders(folder_); }
};

TEST_F(WriteFileAtomicallyTest, CreatesAndReplaces) {
  ASSERT_TRUE(WriteFileAtomically(path_, std::string("new\0file", 8)));
  EXPECT_EQ(test::ReadFile(path_), std::string("new\0file", 8));
  ASSERT_TRUE(WriteFileAtomically(path_, ""));
  EXPECT_EQ(test::ReadFile(path_), "");
  EXPECT_EQ(Entries(folder_), std::vector<std::string>{"SIG_nb_html.htm"});
}

TEST_F(WriteFileAtomicallyTest, ReaderOfTheOldFileNeverSeesTheNewBytes) {
  test::WriteFile(path_, "the whole old signature");
  const int reader = ::open(path_.c_str(), O_RDONLY);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(WriteFileAtomically(path_, "new"));
  char buffer[64] = {};
  const ssize_t n = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0),
            "the whole old signature");
  EXPECT_EQ(test::ReadFile(path_), "new");
}

TEST_F(WriteFileAtomicallyTest, FailedWriteLeavesThePreviousFile) {
  test::WriteFile(path_, "previous");
  {
    const FileSizeLimit limit(16);
    EXPECT_FALSE(WriteFileAtomically(path_, std::string(1000, 'x')));
  }
  EXPECT_EQ(test::ReadFile(path_), "previous");
  EXPECT_EQ(Entries(folder_), std::vector<std::string>{"SIG_nb_html.htm"});

  EXPECT_FALSE(WriteFileAtomically(home_.Root() + "/missing/SIG_a.txt", "x"));
}

TEST_F(WriteFileAtomicallyTest, KeepsPermissionsAndLinks) {
  test::WriteFile(path_, "old");
  ::chmod(path_.c_str(), 0600);
  const std::string link = folder_ + "/SIG_nb_default.htm";
  ASSERT_EQ(::symlink(path_.c_str(), link.c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(link, "through the link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadFile(path_), "through the link");
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
}  // namespace nimbalo
