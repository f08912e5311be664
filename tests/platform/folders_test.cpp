#include "platform/folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tessel/core/manager.h"
#include "tessel/core/text_utf.h"
#include "temp_env.h"

namespace {

TEST(Folders, EnsureDirectoryCreatesEveryMissingParent) {
  TempFolder dir;
  const std::string deep = dir / "a/b/c";
  EXPECT_TRUE(EnsureDirectory(WideFromUtf8(deep)));
  EXPECT_TRUE(std::filesystem::is_directory(deep));
  EXPECT_TRUE(EnsureDirectory(WideFromUtf8(deep)));         // already there
  EXPECT_TRUE(EnsureDirectory(WideFromUtf8(deep + "/")));   // trailing slash
  WriteTextFile(dir / "file", "x");
  EXPECT_FALSE(EnsureDirectory(WideFromUtf8(dir / "file")));
  EXPECT_FALSE(EnsureDirectory(WideFromUtf8(dir / "file/sub")));
  EXPECT_FALSE(EnsureDirectory(L""));
}

TEST(Folders, DataFolderIsNamedByTheDisplayName) {
  TempFolder dir;
  ScopedEnv env;
  env.Set("XDG_DATA_HOME", dir.path());
  EXPECT_EQ(GetDataFolder(), WideFromUtf8(dir.path()) + L"/Vantor Files/");
  env.Set("VANTOR_PROGRAM_DIR", dir.path() + "/");
  EXPECT_EQ(GetProgramFolder(), WideFromUtf8(dir.path()) + L"/");
  EXPECT_EQ(GetProgramFolderNoSlash(), WideFromUtf8(dir.path()));
}

}  // namespace
