#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

TEST(Folders, XdgVariablesAndFallbacks) {
  test::TestHome home;
  EXPECT_EQ(AppDataFolder(), home.DataHome());
  EXPECT_EQ(ConfigHomeFolder(), home.ConfigFolder());
  ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(AppDataFolder(), home.Root() + "/.local/share");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(ConfigHomeFolder(), home.Root() + "/.config");
  EXPECT_EQ(ProgramFilesFolder(), "");  // a build tree is no installation
}

TEST(Folders, PrivateTempFolderRefusesUnsafeCandidates) {
  test::TestHome home;
  const std::string runtime = home.RuntimeFolder();
  const std::string tmp = home.Root() + "/tmp";
  test::MakeFolders(tmp);
  ::setenv("TMPDIR", tmp.c_str(), 1);
  const std::string fallback = tmp + "/nimbalo-" + std::to_string(::getuid());

  EXPECT_EQ(PrivateTempFolder(), runtime + "/nimbalo");
  struct stat st {};
  ASSERT_EQ(::stat((runtime + "/nimbalo").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A symbolic link planted where the folder belongs is not followed.
  ::rmdir((runtime + "/nimbalo").c_str());
  test::MakeFolders(home.Root() + "/elsewhere");
  ASSERT_EQ(::symlink((home.Root() + "/elsewhere").c_str(), (runtime + "/nimbalo").c_str()), 0);
  EXPECT_EQ(PrivateTempFolder(), fallback);

  // A folder open to others is refused too.
  ASSERT_EQ(::chmod(fallback.c_str(), 0777), 0);
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_NE(PrivateTempFolder(), fallback);

  if (::getuid() == 0) {
    // Owned by someone else.
    ASSERT_EQ(::chmod(fallback.c_str(), 0700), 0);
    ASSERT_EQ(::chown(fallback.c_str(), 65534, 65534), 0);
    EXPECT_NE(PrivateTempFolder(), fallback);
  }
  ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace nimbalo
