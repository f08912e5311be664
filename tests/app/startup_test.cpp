// Start-up of the real program, run as a child process in a private environment.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/single_instance.h"
#include "platform/temp_env.h"
#include "run_program.h"

namespace {

using namespace std::chrono_literals;

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"run", "config", "data", "program"}) {
      std::filesystem::create_directories(root_ / folder);
    }
    std::filesystem::permissions(root_ / "run", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
  }

  ProgramRun Run(const std::string& lang = "en_US.UTF-8") {
    return RunProgram(VANTOR_PROGRAM_DIR "/vantor",
                      {"HOME=" + root_.path(), "XDG_RUNTIME_DIR=" + (root_ / "run"),
                       "XDG_CONFIG_HOME=" + (root_ / "config"), "XDG_DATA_HOME=" + (root_ / "data"),
                       "VANTOR_PROGRAM_DIR=" + (root_ / "program"), "LANG=" + lang,
                       "PATH=/usr/bin:/bin"});
  }
  void WriteConfig(const std::string& name) {
    WriteTextFile(root_ / "program/config.xml",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n  <software name=\"" +
                      name + "\" version=\"1.0\"/>\n</config>\n");
  }

  TempFolder root_;
};

TEST_F(Startup, SecondStartShowsTheFirstAndEndsWithZero) {
  SingleInstance first(L"Vantor", root_ / "run");
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  const ProgramRun run = Run();
  EXPECT_EQ(run.exit_code, 0) << run.error_output;
  EXPECT_EQ(first.WaitCommand(10s), InstanceCommand::kShow);
  // It ended before touching the settings or the data folder.
  EXPECT_FALSE(std::filesystem::exists(root_ / "config/Vantor"));
  EXPECT_FALSE(std::filesystem::exists(root_ / "data/Vantor Files"));
}

TEST_F(Startup, FirstStartPreparesSettingsAndDataFolder) {
  const ProgramRun run = Run("ru_RU.UTF-8");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.error_output.find("main window is not built yet"), std::string::npos)
      << run.error_output;
  EXPECT_EQ(ReadTextFile(root_ / "config/Vantor/settings.ini"), "[Settings]\nLCID=1033\n");
  EXPECT_TRUE(std::filesystem::is_directory(root_ / "data/Vantor Files/db"));
  // The name is free again once it has ended.
  SingleInstance next(L"Vantor", root_ / "run");
  EXPECT_EQ(next.Acquire(), SingleInstance::Role::kFirst);

  // A stored language binds later starts, whatever the locale says.
  WriteTextFile(root_ / "config/Vantor/settings.ini", "[Settings]\nLCID=2052\nexit_mode=1\n");
  EXPECT_EQ(Run("en_US.UTF-8").exit_code, 0);
  EXPECT_EQ(ReadTextFile(root_ / "config/Vantor/settings.ini"),
            "[Settings]\nLCID=2052\nexit_mode=1\n");
}

TEST_F(Startup, TheConfiguredNameNamesInstanceSettingsAndData) {
  WriteConfig("Test Board");
  SingleInstance other_name(L"Vantor", root_ / "run");  // a different program: no effect
  ASSERT_EQ(other_name.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_EQ(Run("zh_CN.UTF-8").exit_code, 0);
  EXPECT_EQ(other_name.TakeCommand(), std::nullopt);
  EXPECT_EQ(ReadTextFile(root_ / "config/Test Board/settings.ini"), "[Settings]\nLCID=2052\n");
  EXPECT_TRUE(std::filesystem::is_directory(root_ / "data/Test Board Files/db"));

  SingleInstance first(L"Test Board", root_ / "run");
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_EQ(Run().exit_code, 0);
  EXPECT_EQ(first.WaitCommand(10s), InstanceCommand::kShow);
}

}  // namespace
