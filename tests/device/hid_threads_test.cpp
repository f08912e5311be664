// Settings sent from the UI thread while the worker closes and reopens the interfaces.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "emulator/sim_rig.h"
#include "protocol/commands_framed.h"

TEST(HidThreads, SendsDuringCloseAllAndRelistNeverTouchAClosedDevice) {
  SimRig rig;
  auto keyboard = rig.CableKeyboard(301);
  std::atomic<bool> stop{false};
  std::atomic<int> sent{0};
  std::thread ui([&] {
    while (!stop.load()) {
      if (rig.hid.Send(FrSetSleepTime(3))) ++sent;
      std::this_thread::yield();
    }
  });
  for (int round = 0; round < 300; ++round) {
    rig.hid.CloseAll();
    rig.List(keyboard, 301, kModeCable);
    uint8_t frame[64] = {};
    rig.hid.ReadInput(frame);
  }
  // Let the sender get through at least once against a listed interface.
  for (int i = 0; i < 100000 && sent.load() == 0; ++i) std::this_thread::yield();
  stop = true;
  ui.join();
  EXPECT_GT(sent.load(), 0);
  EXPECT_EQ(rig.hid.InterfaceCount(), 1u);
  EXPECT_EQ(keyboard->Keyboard()->State().sleepTime, 3);
}
