// The builders' reports, sent through KeyboardHid to the simulated keyboard of each
// family, come back decoded as what the keyboard stores.
#include <gtest/gtest.h>

#include <map>

#include "emulator/sim_rig.h"
#include "protocol/commands_framed.h"
#include "protocol/commands_opcode.h"
#include "protocol/commands_report7.h"
#include "protocol/macro_delay.h"
#include "protocol/shortcuts.h"

namespace {

MacroContent MixedMacro(int events, int playTimes = 3) {
  static const int kDelays[] = {0, 10, 311, 1551, 3101, 40000, -5, 57};
  MacroContent macro{playTimes, {}};
  for (int i = 0; i < events; ++i) {
    macro.events.push_back({i % 2 ? 3 : 2, uint8_t(0x04 + i / 2), kDelays[i % 8]});
  }
  macro.events.push_back({5, 0x01, 10});  // not a key event: never sent
  return macro;
}

MacroLookup LookupOf(std::map<int, MacroContent> macros) {
  return [macros](int id) -> std::optional<MacroContent> {
    auto it = macros.find(id);
    if (it == macros.end()) return std::nullopt;
    return it->second;
  };
}

// The block events the keyboard must have decoded, for a two-byte-event family.
void ExpectBlockEvents(const std::vector<SimMacroEvent>& got, const MacroContent& sent) {
  std::vector<MacroEvent> keyEvents;
  for (const MacroEvent& e : sent.events) {
    if (IsSentMacroEvent(e)) keyEvents.push_back(e);
  }
  ASSERT_EQ(got.size(), keyEvents.size());
  for (size_t i = 0; i < got.size(); ++i) {
    uint8_t expectedByte = MacroDelayByte(keyEvents[i].type == 3, keyEvents[i].delayMs);
    EXPECT_EQ(got[i].usage, keyEvents[i].usage) << i;
    EXPECT_EQ(got[i].pressed, keyEvents[i].type == 2) << i;
    EXPECT_EQ(got[i].delayByte, expectedByte) << i;
    EXPECT_EQ(got[i].delayMs, MacroDelayMs(expectedByte)) << i;
  }
}

TEST(FramedRoundTrip, KeysMacrosLightColoursAndSettings) {
  SimRig rig;
  auto device = rig.CableKeyboard(301);
  auto keyboard = device->Keyboard();
  MacroContent macro = MixedMacro(12);
  auto lookup = LookupOf({{7, macro}});
  std::vector<AssignmentToSend> keys = {
      {0, 0x2C, -1, ASSIGN_KEY_COMBINATION, 0x15},
      {1, 0x2D, -1, ASSIGN_MACRO, 7},
      {1, 0x2E, -1, ASSIGN_SHORTCUT, 2},
      {0, 0x2F, -1, ASSIGN_DEFAULT, 0},
      {0, 0x30, -1, ASSIGN_KEY_FUNCTION, 0},  // value 0: the key's default
  };
  ASSERT_TRUE(rig.hid.SendSequence(FrFullKeyUpload(keys, lookup)));
  SimKeyboardState state = keyboard->State();
  EXPECT_EQ(state.keyResets, 1);
  EXPECT_EQ((state.keyValues[{0, 0x2C}]), 0x15);
  EXPECT_EQ((state.keyValues.count({0, 0x30})), 1u);
  EXPECT_EQ((state.keyValues[{0, 0x30}]), 0);
  EXPECT_EQ(state.keyValues.count({0, 0x2F}), 0u);
  ASSERT_EQ(state.macros.count({1, 0x2D}), 1u);
  const SimMacro& stored = state.macros[{1, 0x2D}];
  EXPECT_EQ(stored.playCount, 3);
  EXPECT_EQ(stored.eventCount, 12);
  ExpectBlockEvents(stored.events, macro);
  const SimMacro& shortcut = state.macros[{1, 0x2E}];
  EXPECT_EQ(shortcut.playCount, 1);
  ExpectBlockEvents(shortcut.events, ShortcutMacro(2, SHORTCUT_DELAY_BLOCK_MS));

  LightParams light;
  light.mode = 5;
  light.brightness = 3;
  light.speed = 0;  // sent as 0xFF, read back as 0
  light.direction = 1;
  light.colorindex = 4;
  ASSERT_TRUE(rig.hid.SendSequence(FrLightSequence(light, ColourTable(), false)));
  state = keyboard->State();
  EXPECT_EQ(state.lighting.mode, 5);
  EXPECT_EQ(state.lighting.brightness, 3);
  EXPECT_EQ(state.lighting.speed, 0);
  EXPECT_EQ(state.lighting.direction, 1);
  EXPECT_EQ(state.lighting.colorIndex, 4);
  EXPECT_EQ(state.customLights, 0);

  // The per-key custom mode: custom light, then the stored colours after a begin request.
  ColourTable table;
  table.Set(0, 0x00332211);
  table.Set(107, 0x00CCBBAA);
  table.Set(150, 0x00FFFFFF);  // beyond light index 107: not carried
  light.mode = FR_CUSTOM_MODE_BYTE + 1;
  ASSERT_TRUE(rig.hid.SendSequence(FrLightSequence(light, table, true)));
  state = keyboard->State();
  EXPECT_EQ(state.customLights, 1);
  EXPECT_EQ(state.beginColours, 1);
  EXPECT_EQ(state.storedFrames, 1);
  EXPECT_EQ(state.storedColours[0], 0x11);
  EXPECT_EQ(state.storedColours[2], 0x33);
  EXPECT_EQ(state.storedColours[107 * 3], 0xAA);
  EXPECT_EQ(state.storedColours[150 * 3], 0);

  ASSERT_TRUE(rig.hid.SendSequence(FrColourFrame(table, false, false)));
  EXPECT_EQ(keyboard->State().liveFrames, 1);
  EXPECT_EQ(keyboard->State().liveColours[107 * 3 + 2], 0xCC);

  ASSERT_TRUE(rig.hid.Send(FrSetSleepTime(4)));
  ASSERT_TRUE(rig.hid.Send(FrSetResponseTime(2)));
  ASSERT_TRUE(rig.hid.Send(FrSetFnSwitch(true)));
  ASSERT_TRUE(rig.hid.Send(FrApply()));
  state = keyboard->State();
  EXPECT_EQ(state.sleepTime, 4);
  EXPECT_EQ(state.responseTime, 2);
  EXPECT_EQ(state.fnSwitch, 1);
  EXPECT_EQ(state.applies, 1);
  EXPECT_EQ(state.unrecognised, 0);

  ASSERT_TRUE(rig.hid.Send(FrFactoryReset()));
  state = keyboard->State();
  EXPECT_EQ(state.factoryResets, 1);
  EXPECT_TRUE(state.macros.empty());
  EXPECT_TRUE(state.keyValues.empty());
  EXPECT_EQ(state.lighting.mode, -1);
}

TEST(FramedRoundTrip, EightyEventMacroKeepsItsCountButCarriesSeventyNine) {
  SimRig rig;
  auto device = rig.CableKeyboard(301);
  MacroContent macro{1, {}};
  for (int i = 0; i < 80; ++i) macro.events.push_back({i % 2 ? 3 : 2, uint8_t(0x04 + i % 20), 10});
  ASSERT_TRUE(rig.hid.SendSequence(FrMacroData(FramedMacroBlock(0, 0x04, &macro))));
  SimKeyboardState state = device->Keyboard()->State();
  const SimMacro& stored = state.macros[{0, 0x04}];
  EXPECT_LE(static_cast<int>(stored.events.size()), FR_MACRO_MAX_EVENTS);
  EXPECT_EQ(stored.block.size(), FR_MACRO_BLOCK_SIZE);
}

TEST(Report7RoundTrip, WiredUploadFillsTheSlotTable) {
  SimRig rig;
  auto device = rig.CableKeyboard(201);
  auto keyboard = device->Keyboard();
  MacroContent macro = MixedMacro(6, 2);
  auto lookup = LookupOf({{1, macro}});
  std::vector<AssignmentToSend> keys = {
      {0, 0x20, -1, ASSIGN_MACRO, 1},
      {0, 0x21, -1, ASSIGN_KEY_FUNCTION, 5},
      {0, 0x22, -1, ASSIGN_SHORTCUT, 4},
      {0, 0x23, -1, ASSIGN_DEFAULT, 0},
  };
  ASSERT_TRUE(rig.hid.SendSequence(R7FullKeyUpload(keys, lookup)));
  SimKeyboardState state = keyboard->State();
  EXPECT_EQ(state.keyResets, 1);
  ASSERT_EQ(state.macroSlots.count(1), 1u);
  EXPECT_EQ(state.macroSlots[1].keyCode, 0x20);
  EXPECT_EQ(state.macroSlots[1].playCount, 2);
  ExpectBlockEvents(state.macroSlots[1].events, macro);
  ASSERT_EQ(state.macroSlots.count(2), 1u);
  ExpectBlockEvents(state.macroSlots[2].events, ShortcutMacro(4, SHORTCUT_DELAY_BLOCK_MS));
  EXPECT_EQ(state.keySlots[1], (std::pair<int, int>{0x21, 5}));
  EXPECT_EQ(state.unrecognised, 0);

  // The slot table read back through the 8-byte exchange.
  std::vector<uint8_t> reply;
  ASSERT_TRUE(rig.hid.Send(R7ReadSlots(), &reply));
  auto table = Report7SlotTable::Parse(reply.data(), reply.size());
  ASSERT_TRUE(table);
  EXPECT_EQ(table->MacroSlotOwner(1), 0x20);
  EXPECT_EQ(table->MacroSlotOwner(2), 0x22);
  EXPECT_EQ(table->KeySlotOwner(1), 0x21);
  EXPECT_EQ(table->KeySlotOwner(2), 0);

  // Clearing a key slot and freeing a macro slot.
  ASSERT_TRUE(rig.hid.Send(*R7SetKey(1, 0x21, ASSIGN_KEY_FUNCTION, 0)));
  ASSERT_TRUE(rig.hid.SendSequence(R7MacroData(Report7MacroBlock(2, 0x22, nullptr))));
  ASSERT_TRUE(rig.hid.Send(R7ReadSlots(), &reply));
  table = Report7SlotTable::Parse(reply.data(), reply.size());
  EXPECT_EQ(table->KeySlotOwner(1), 0);
  EXPECT_EQ(table->MacroSlotOwner(2), 0);
  EXPECT_EQ(table->MacroSlotOwner(1), 0x20);

  LightParams light;
  light.mode = 4;  // mode byte 3 carries an RGB colour
  light.colorValue = 0x00332211;
  light.brightness = 5;
  light.perKey = true;
  ASSERT_TRUE(rig.hid.Send(R7SetLight(light)));
  state = keyboard->State();
  EXPECT_EQ(state.lighting.mode, 4);
  EXPECT_EQ(state.lighting.r, 0x11);
  EXPECT_EQ(state.lighting.g, 0x22);
  EXPECT_EQ(state.lighting.b, 0x33);
  EXPECT_EQ(state.lighting.brightness, 5);

  ASSERT_TRUE(rig.hid.Send(R7ResetKeys()));
  EXPECT_TRUE(keyboard->State().macroSlots.empty());
  ASSERT_TRUE(rig.hid.Send(R7FactoryReset()));
  EXPECT_EQ(keyboard->State().factoryResets, 1);
}

TEST(Report7RoundTrip, WirelessLightAndTwoFrameFactoryReset) {
  SimRig rig;
  auto receiver = rig.bus->PlugNew(201, SimConnection::Receiver);
  rig.List(receiver, 201, kModeReceiver);
  LightParams light;
  light.mode = 2;
  light.colorindex = 6;
  light.direction = 1;
  light.speed = 3;
  light.brightness = 4;
  ASSERT_TRUE(rig.hid.Send(Report7Light(light, kModeReceiver)));
  SimKeyboardState state = receiver->Keyboard()->State();
  EXPECT_EQ(state.lighting.mode, 2);
  EXPECT_EQ(state.lighting.colorIndex, 6);
  EXPECT_EQ(state.lighting.speed, 3);
  EXPECT_EQ(state.lighting.brightness, 4);

  rig.clock.ClearPauses();
  ASSERT_TRUE(rig.hid.SendSequence(W7FactoryReset()));
  EXPECT_EQ(receiver->Keyboard()->State().factoryResets, 1);
  EXPECT_EQ(rig.clock.TotalPauseMs(), W7_FACTORY_RESET_GAP_MS);
  auto outputs = rig.Outputs();
  ASSERT_GE(outputs.size(), 2u);
  EXPECT_EQ(outputs.back().timeUs - outputs[outputs.size() - 2].timeUs,
            W7_FACTORY_RESET_GAP_MS * 1000);
}

TEST(OpcodeRoundTrip, MacrosShortcutsAndTheKeyTable) {
  SimRig rig;
  auto device = rig.CableKeyboard(101);
  auto keyboard = device->Keyboard();
  MacroContent twenty = MixedMacro(20, 300);  // two chunks; play count clamped to 255
  MacroContent two = MixedMacro(2, 1);
  auto lookup = LookupOf({{1, twenty}, {2, two}});
  std::vector<AssignmentToSend> keys = {
      {0, 0x30, 10, ASSIGN_SHORTCUT, 15},
      {0, 0x31, 11, ASSIGN_MACRO, 1},
      {0, 0x32, 12, ASSIGN_KEY_COMBINATION, 0x2B},
      {0, 0x33, 13, ASSIGN_MACRO, 2},
      {0, 0x34, 14, ASSIGN_KEY_FUNCTION, 9},
  };
  ASSERT_TRUE(rig.hid.SendSequence(OpKeyUpload(keys, lookup)));
  SimKeyboardState state = keyboard->State();
  // Macros first in order (slots 0, 1), then the shortcut (slot 2).
  ASSERT_EQ(state.opcodeMacros.size(), 3u);
  const SimMacro& first = state.opcodeMacros[0];
  EXPECT_EQ(first.playCount, 255);
  ASSERT_EQ(first.events.size(), 20u);
  EXPECT_EQ(first.events[2].delayMs, 311);
  EXPECT_TRUE(first.events[2].pressed);
  EXPECT_FALSE(first.events[3].pressed);
  EXPECT_EQ(first.events[3].delayMs, 1551);
  EXPECT_EQ(state.opcodeMacros[1].events.size(), 2u);
  const SimMacro& shortcut = state.opcodeMacros[2];
  ASSERT_EQ(shortcut.events.size(), 4u);
  EXPECT_EQ(shortcut.events[1].usage, 0x3D);  // Alt+F4
  EXPECT_EQ(shortcut.events[1].delayMs, SHORTCUT_DELAY_OPCODE_MS);

  EXPECT_EQ(state.keyTableReports, OP_KEY_TABLE_REPORTS);
  auto entry = [&](int keyIndex) {
    return std::pair<int, int>{state.keyTable[2 * keyIndex], state.keyTable[2 * keyIndex + 1]};
  };
  EXPECT_EQ(entry(10), (std::pair<int, int>{2, OP_KEY_MACRO}));
  EXPECT_EQ(entry(11), (std::pair<int, int>{0, OP_KEY_MACRO}));
  EXPECT_EQ(entry(12), (std::pair<int, int>{0x2B, OP_KEY_COMBINATION}));
  EXPECT_EQ(entry(13), (std::pair<int, int>{1, OP_KEY_MACRO}));
  EXPECT_EQ(entry(14), (std::pair<int, int>{0, OP_KEY_COMBINATION}));
  EXPECT_EQ(entry(15), (std::pair<int, int>{0, 0}));

  LightParams light;
  light.mode = 6;
  light.colorful = 1;
  light.direction = 2;
  light.speed = 7;
  light.colorValue = 0x00030201;
  light.brightness = 9;
  ASSERT_TRUE(rig.hid.Send(OpcodeLight(light, false)));
  EXPECT_EQ(keyboard->State().lighting.mode, 6);
  ASSERT_TRUE(rig.hid.Send(OpcodeLight(light, true)));
  state = keyboard->State();
  EXPECT_TRUE(state.lighting.colorful);
  EXPECT_EQ(state.lighting.direction, 2);
  EXPECT_EQ(state.lighting.speed, 7);
  EXPECT_EQ(state.lighting.r, 1);
  EXPECT_EQ(state.lighting.b, 3);
  EXPECT_EQ(state.lighting.brightness, 9);

  ASSERT_TRUE(rig.hid.SendSequence(OpFactoryResetSequence(keys, lookup)));
  EXPECT_EQ(keyboard->State().factoryResets, 1);
  EXPECT_EQ(keyboard->State().unrecognised, 0);
}

TEST(OpcodeRoundTrip, DeviceGoneMidUploadStopsTheWholeUpload) {
  SimRig rig;
  auto device = rig.CableKeyboard(101);
  MacroContent twenty = MixedMacro(20);
  auto lookup = LookupOf({{1, twenty}});
  std::vector<AssignmentToSend> keys = {{0, 0x31, 11, ASSIGN_MACRO, 1},
                                        {0, 0x33, 13, ASSIGN_MACRO, 1}};
  device->VanishAfterWrites(1);
  EXPECT_FALSE(rig.hid.SendSequence(OpKeyUpload(keys, lookup)));
  // One accepted chunk, one failed attempt and its retry; no key table afterwards.
  auto outputs = rig.Outputs();
  ASSERT_EQ(outputs.size(), 3u);
  EXPECT_EQ(device->Keyboard()->State().keyTableReports, 0);
}

}  // namespace
