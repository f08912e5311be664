#pragma once
// The keyboard's side of the three command families: it decodes every report the host
// sends, keeps what the commands store (key assignments, macros, key tables, lighting,
// colours, settings), answers status requests and the slot-table read, and holds the
// battery level. Transport details (interfaces, queues, faults, timing) belong to
// SimulatedDevice; this class only sees report bytes. Thread-safe.
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "protocol/command_codes.h"
#include "protocol/command_family.h"

// One event of a stored macro.
struct SimMacroEvent {
  uint8_t usage = 0;
  bool pressed = true;
  int delayMs = 0;        // decoded delay
  uint8_t delayByte = 0;  // the raw delay byte (framed and report-7 blocks; 0 for opcode)
  bool operator==(const SimMacroEvent&) const = default;
};

struct SimMacro {
  int layer = 0;       // framed only
  int keyCode = 0;     // framed and report-7
  int slot = 0;        // report-7 and opcode
  int playCount = 0;
  int eventCount = 0;  // as declared by the block (framed, opcode)
  std::vector<SimMacroEvent> events;
  std::vector<uint8_t> block;  // the block bytes as received
};

// The lighting settings as the keyboard understood the last light command.
struct SimLighting {
  int commands = 0;      // light commands received
  int mode = -1;         // mode number (the framed and report-7 reports carry mode - 1)
  int brightness = -1;
  int speed = -1;
  int direction = -1;
  int colorIndex = -1;
  int perKeySlot = -1;
  bool colorful = false;  // opcode family
  uint8_t r = 0, g = 0, b = 0;
  std::vector<uint8_t> raw;  // the last light report
};

struct SimKeyboardState {
  // Settings and counters of the framed family.
  std::map<std::pair<int, int>, int> keyValues;  // (layer, key code) -> macro_value
  std::map<std::pair<int, int>, SimMacro> macros;  // framed macros by (layer, key code)
  std::array<uint8_t, COLOUR_TABLE_SIZE> liveColours{};
  std::array<uint8_t, COLOUR_TABLE_SIZE> storedColours{};
  int liveFrames = 0;    // complete live colour frames (all six chunks)
  int storedFrames = 0;
  int liveChunks = 0;    // chunks received, complete frames or not
  int storedChunks = 0;
  int beginColours = 0;
  int applies = 0;
  int customLights = 0;
  int sleepTime = -1;
  int responseTime = -1;
  int fnSwitch = -1;
  int keyResets = 0;
  int factoryResets = 0;
  int statusRequests = 0;
  SimLighting lighting;

  // Report-7 family.
  std::array<uint8_t, R7_SLOT_TABLE_SIZE> slotTable{};
  std::map<int, SimMacro> macroSlots;                // slot 1-13
  std::map<int, std::pair<int, int>> keySlots;       // slot 1-10 -> (key code, value)

  // Opcode family.
  std::array<uint8_t, OP_KEY_TABLE_SIZE> keyTable{};
  int keyTableReports = 0;
  std::map<int, SimMacro> opcodeMacros;              // by slot

  // Reports that matched no command of the family (kept, not acted on).
  int unrecognised = 0;
};

class SimulatedKeyboard {
 public:
  explicit SimulatedKeyboard(int deviceType);

  int DeviceType() const { return deviceType_; }
  CommandFamily Family() const { return family_; }

  int Battery() const;
  void SetBattery(int percent);

  // An output report from the host (byte 0 = report ID). `wireless`: it came through the
  // receiver. Answers the input report to send back (64 data bytes), if the command has one.
  std::optional<std::vector<uint8_t>> HandleOutput(const uint8_t* report, size_t length,
                                                   bool wireless);
  // A feature report sent by the host (byte 0 = report ID).
  void HandleFeatureSet(const uint8_t* report, size_t length);
  // The feature report the host asks for (data[0] = report ID); answers the length filled.
  int HandleFeatureGet(uint8_t* data, size_t length);

  // The status input report with the given link state.
  std::vector<uint8_t> StatusReport(uint8_t linkState) const;

  SimKeyboardState State() const;
  // Forgets everything stored (a fresh keyboard), counters included.
  void Reset();

 private:
  void StoreColourChunk(int chunk, const uint8_t* payload,
                        std::array<uint8_t, COLOUR_TABLE_SIZE>& table, int& chunks,
                        unsigned& mask, int& frames);
  void HandleFramed(const uint8_t* d);
  void StoreReport7Light(const uint8_t* fields, const uint8_t* raw, size_t rawSize);
  void HandleWireless7(const uint8_t* d);
  void HandleOpcode(const uint8_t* r);
  void CommitFramedMacro();
  void CommitReport7Macro();
  void DecodeOpcodeMacro(int slot);
  void FactoryResetLocked();

  const int deviceType_;
  const CommandFamily family_;
  mutable std::mutex lock_;
  int battery_ = 80;
  SimKeyboardState state_;

  // Uploads in progress.
  std::array<uint8_t, FR_MACRO_BLOCK_SIZE> framedBlock_{};
  unsigned framedChunks_ = 0;  // bit i: chunk i received
  unsigned liveMask_ = 0, storedMask_ = 0;
  std::array<uint8_t, R7_MACRO_BLOCK_SIZE> r7Block_{};
  int r7Reports_ = -1;  // reports of the current block; -1 = none in progress
  int r7GetIndex_ = 0;
  bool wirelessResetArmed_ = false;
  std::map<int, std::vector<uint8_t>> opcodeBlocks_;
};

// Decodes a MacroDelayByte into (pressed, delay in ms).
SimMacroEvent DecodeMacroDelayByte(uint8_t usage, uint8_t delayByte);
