#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/help.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class HelpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = dir_.Path();
    savedCwd_ = fs::current_path();
    fs::current_path(folder_);
    name_ = "help-test-" + std::to_string(getpid()) + ".HLP";
    besideProgram_ = fs::read_symlink("/proc/self/exe").parent_path() / name_;
  }
  void TearDown() override {
    fs::current_path(savedCwd_);
    std::error_code ec;
    fs::remove(besideProgram_, ec);
  }
  static void Write(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }

  testing_support::TempDir dir_;
  fs::path folder_;
  fs::path savedCwd_;
  fs::path besideProgram_;
  std::string name_;
};

TEST_F(HelpFileTest, MissingFileIsAnError) {
  try {
    platform::LoadHelpFile(name_);
    FAIL() << "no error";
  } catch (const platform::HelpError& e) {
    EXPECT_NE(std::string(e.what()).find("Unable to find the help file"), std::string::npos);
  }
  fs::create_directory(folder_ / name_);  // a folder of that name cannot be read as one
  EXPECT_THROW(platform::LoadHelpFile(name_), platform::HelpError);
}

TEST_F(HelpFileTest, TitleLineThenTextWithoutCarriageReturns) {
  Write(folder_ / name_, "Instrument help\r\nFirst line\r\n\r\nLast line");
  platform::HelpDocument doc = platform::LoadHelpFile(name_);
  EXPECT_EQ(doc.title, "Instrument help");
  EXPECT_EQ(doc.text, "First line\n\nLast line\n");
  EXPECT_EQ(fs::path(doc.path), folder_ / name_);
}

TEST_F(HelpFileTest, FileBesideTheProgramComesFirst) {
  if (access(besideProgram_.parent_path().c_str(), W_OK) != 0) {
    GTEST_SKIP() << "program folder is read-only";
  }
  Write(folder_ / name_, "Current folder\n");
  Write(besideProgram_, "Program folder\n");
  EXPECT_EQ(platform::LoadHelpFile(name_).title, "Program folder");
}

}  // namespace
