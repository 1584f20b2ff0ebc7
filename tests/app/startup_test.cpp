#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/paths.h"
#include "platform/process.h"
#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

struct Call {
  std::string file, parameters, folder;
  bool wait;
  int show;
};

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FixFolders();
    program_ = home_.Root() + "/program/";
    program_files_ = home_.Root() + "/share";
    test::WriteFile(program_ + "tplpack", "");
    test::WriteFile(program_ + "copyhelper", "");
    ProgramFolder = program_;
  }
  ProgramRunner Recorder() {
    return [this](const std::string&, const std::string& file, const std::string& parameters,
                  bool wait, int show, const std::string& folder) {
      calls_.push_back({file, parameters, folder, wait, show});
      return 0;
    };
  }

  test::TestHome home_;
  std::string program_;
  std::string program_files_;
  std::vector<Call> calls_;
};

TEST_F(InstallTest, FoldersFollowXdg) {
  EXPECT_EQ(DataFolder, home_.DataHome() + "/Nimbalo/");
  EXPECT_TRUE(test::FileExists(DataFolder));
  // A fresh account without the XDG data folder still gets its data folder.
  ::setenv("XDG_DATA_HOME", (home_.Root() + "/new/share").c_str(), 1);
  FixFolders();
  EXPECT_TRUE(test::FileExists(home_.Root() + "/new/share/Nimbalo/"));
  EXPECT_EQ(TempFolder, home_.RuntimeFolder() + "/nimbalo");
  struct stat st {};
  ASSERT_EQ(::stat(TempFolder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(InstallTest, CommandLinesInOrderWithEarlierInstallation) {
  test::MakeFolders(program_files_ + "/Nimbalo/templates");
  InstallTemplatesOnFirstUse(program_files_, Recorder());
  const std::string data = home_.DataHome() + "/Nimbalo";
  ASSERT_EQ(calls_.size(), 3u);
  EXPECT_EQ(calls_[0].file, program_ + "copyhelper");
  EXPECT_EQ(calls_[0].parameters,
            "-cpf \"" + program_files_ + "/Nimbalo/templates\" \"" + data + "\" ");
  EXPECT_EQ(calls_[1].file, program_ + "copyhelper");
  EXPECT_EQ(calls_[1].parameters, "-cp \"" + program_ + "tplpack\" \"" + data + "/tplpack\"");
  EXPECT_EQ(calls_[2].file, data + "/tplpack");
  EXPECT_EQ(calls_[2].parameters, "");
  for (const Call& call : calls_) {
    EXPECT_TRUE(call.wait);
    EXPECT_EQ(call.show, SW_SHOW);
    EXPECT_EQ(call.folder, data + "/");
  }
}

TEST_F(InstallTest, WhenNothingIsInstalled) {
  InstallTemplatesOnFirstUse(program_files_, Recorder());  // no earlier installation
  EXPECT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[0].parameters.rfind("-cp ", 0), 0u);

  calls_.clear();
  test::MakeFolders(DataFolder + "templates");  // exists, even empty: nothing to do
  InstallTemplatesOnFirstUse(program_files_, Recorder());
  EXPECT_TRUE(calls_.empty());

  ::rmdir((DataFolder + "templates").c_str());
  ::unlink((program_ + "copyhelper").c_str());
  InstallTemplatesOnFirstUse(program_files_, Recorder());
  EXPECT_TRUE(calls_.empty());
}

TEST_F(InstallTest, RealProgramsInstallTheData) {
  ProgramFolder = std::string(NIMBALO_TEST_PROGRAM_DIR) + "/";
  InstallTemplatesOnFirstUse(program_files_, &RunAndWait);
  EXPECT_TRUE(test::FileExists(DataFolder + "tplpack"));
  EXPECT_TRUE(test::FileExists(DataFolder + "templates/nb_html.htm"));
  EXPECT_TRUE(test::FileExists(DataFolder + "templates/nb_text.txt"));
  EXPECT_TRUE(test::FileExists(DataFolder + "templates/nb_rtf.rtf"));
  EXPECT_TRUE(test::FileExists(DataFolder + "nws_us.txt"));
  EXPECT_TRUE(test::FileExists(DataFolder + "cookies.txt"));

  // A user's edited template survives a second unpacking.
  test::WriteFile(DataFolder + "templates/nb_text.txt", "mine");
  EXPECT_EQ(RunAndWait("open", DataFolder + "tplpack", "", true, SW_SHOW, DataFolder), 0);
  EXPECT_EQ(test::ReadFile(DataFolder + "templates/nb_text.txt"), "mine");
}

}  // namespace
}  // namespace nimbalo
