#include "app/software_name.h"

#include <gtest/gtest.h>

#include "platform/temp_env.h"
#include "tessel/core/manager.h"
#include "tessel/core/text_utf.h"

namespace {

TEST(SoftwareName, ReadsConfigSoftwareNameOrKeepsTheDefault) {
  const struct {
    const char* config;  // nullptr: no config.xml at all
    const wchar_t* expected;
  } cases[] = {
      {nullptr, L"Vantor"},
      {"", L"Vantor"},
      {"<config><software name=\"Broken\"></config", L"Vantor"},
      {"<config><copyright info=\"x\"/></config>", L"Vantor"},
      {"<config><software version=\"1\"/></config>", L"Vantor"},
      {"<config><software name=\"\"/></config>", L"Vantor"},
      {"<other><software name=\"Elsewhere\"/></other>", L"Vantor"},
      {"<config><software name=\"Test Board\"/></config>", L"Test Board"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n <devices/>\n"
       " <software name=\"Клавиатура 字\" version=\"2\"/>\n</config>\n",
       L"Клавиатура 字"},
  };
  for (const auto& c : cases) {
    TempFolder program;
    ScopedEnv env;
    env.Set("VANTOR_PROGRAM_DIR", program.path());
    if (c.config) WriteTextFile(program / "config.xml", c.config);
    Manager::SetDeviceName(L"Vantor");
    EXPECT_EQ(ReadSoftwareName(), std::wstring(c.expected) != L"Vantor") << (c.config ? c.config : "none");
    EXPECT_EQ(Manager::GetDeviceName(), c.expected) << (c.config ? c.config : "none");
  }
  Manager::SetDeviceName(L"Vantor");
}

}  // namespace
