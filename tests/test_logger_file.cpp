// Appending to the station log files: lines that a file cannot take are held and written first,
// in order, once it can; none is written in part.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/log_file.h"
#include "tests/support/logger_test.h"

using namespace testing_support;

TEST(LogAppender, LinesHeldWhileTheFileCannotBeWrittenComeFirstInOrder) {
  InTempFolder folder;
  LogAppender log;
  EXPECT_TRUE(log.Append("T1.txt", "head\r\n", "0\r\n"));
  // A folder in the file's place makes every open fail, whoever runs the test.
  std::filesystem::rename("T1.txt", "T1.kept");
  std::filesystem::create_directory("T1.txt");
  EXPECT_FALSE(log.Append("T1.txt", "", "1\r\n"));
  EXPECT_FALSE(log.Append("T1.txt", "", "2\r\n"));
  EXPECT_TRUE(log.Append("T2.txt", "other\r\n", "0\r\n"));  // another file is not held up
  EXPECT_EQ(log.Unwritten(), (std::map<std::string, uint64_t>{{"T1.txt", 2}}));
  std::filesystem::remove("T1.txt");
  std::filesystem::rename("T1.kept", "T1.txt");
  EXPECT_TRUE(log.Append("T1.txt", "", "3\r\n"));
  EXPECT_TRUE(log.Unwritten().empty());
  EXPECT_EQ(CrlfLines("T1.txt"), (std::vector<std::string>{"head", "0", "1", "2", "3"}));
  EXPECT_EQ(ReadAll("T2.txt"), "other\r\n0\r\n");
}

TEST(LogAppender, PastTheLimitTheOldestGoButTheirHeaderStays) {
  struct Case {
    size_t limit;
    uint64_t dropped;
    std::vector<std::string> lines;  // in the file once it can be written
  };
  // A limit of 0 still holds the line being appended.
  const Case cases[] = {{3, 2, {"head", "2", "3", "4"}}, {0, 4, {"head", "4"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    InTempFolder folder;
    LogAppender log(c.limit);
    std::filesystem::create_directory("T1.txt");
    EXPECT_FALSE(log.Append("T1.txt", "head\r\n", "0\r\n"));
    for (int i = 1; i <= 4; ++i) EXPECT_FALSE(log.Append("T1.txt", "", std::to_string(i) + "\r\n"));
    EXPECT_EQ(log.Unwritten(), (std::map<std::string, uint64_t>{{"T1.txt", 5}}));  // held and dropped
    std::filesystem::remove("T1.txt");
    log.Flush();
    EXPECT_EQ(log.Unwritten(), (std::map<std::string, uint64_t>{{"T1.txt", c.dropped}}));
    EXPECT_EQ(CrlfLines("T1.txt"), c.lines);
  }
}
