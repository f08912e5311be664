#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>

#include "temp_env.h"

namespace {

TEST(FileIo, ReadsWholeFilesAndTellsMissingFromUnreadable) {
  TempFolder dir;
  std::string text;
  EXPECT_EQ(ReadWholeFile(dir / "none", &text), FileReadStatus::kMissing);
  EXPECT_EQ(ReadWholeFile(dir.path(), &text), FileReadStatus::kError);  // a folder
  const std::string big(100000, 'x');
  WriteTextFile(dir / "big", big);
  EXPECT_EQ(ReadWholeFile(dir / "big", &text), FileReadStatus::kOk);
  EXPECT_EQ(text, big);
}

TEST(FileIo, AtomicWriteReplacesTheFileWithTheGivenMode) {
  TempFolder dir;
  const std::string path = dir / "settings.ini";
  WriteTextFile(path, "old");
  ASSERT_TRUE(WriteFileAtomically(path, "new text", 0644));
  EXPECT_EQ(ReadTextFile(path), "new text");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A write that runs out of room (here: a file size limit, as a full disk would) leaves
// the old file whole and no temporary file behind.
TEST(FileIo, FailedWriteKeepsTheOldFile) {
  TempFolder dir;
  const std::string path = dir / "settings.ini";
  WriteTextFile(path, "[Settings]\nLCID=2052\n");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{8, 8};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(WriteFileAtomically(path, std::string(4096, 'y'), 0644) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have failed";
  EXPECT_EQ(ReadTextFile(path), "[Settings]\nLCID=2052\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
