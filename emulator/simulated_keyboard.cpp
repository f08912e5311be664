#include "emulator/simulated_keyboard.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kReportSize = REPORT_SIZE;

bool StartsWith(const uint8_t* data, const uint8_t (&magic)[4]) {
  return std::memcmp(data, magic, 4) == 0;
}

bool AllBytes(const uint8_t* data, size_t count, uint8_t value) {
  return std::all_of(data, data + count, [value](uint8_t b) { return b == value; });
}

// The (usage, delay byte) events of a framed or report-7 block, from `offset` on.
std::vector<SimMacroEvent> TwoByteEvents(const uint8_t* block, size_t size, size_t offset,
                                         size_t count) {
  std::vector<SimMacroEvent> events;
  for (size_t i = 0; i < count && offset + 2 * i + 1 < size; ++i) {
    events.push_back(DecodeMacroDelayByte(block[offset + 2 * i], block[offset + 2 * i + 1]));
  }
  return events;
}

}  // namespace

SimMacroEvent DecodeMacroDelayByte(uint8_t usage, uint8_t delayByte) {
  static constexpr int kUnitMs[4] = {10, 50, 100, 1000};
  SimMacroEvent event;
  event.usage = usage;
  event.delayByte = delayByte;
  event.pressed = (delayByte & 0x80) == 0;
  event.delayMs = (delayByte & 0x1F) * kUnitMs[(delayByte >> 5) & 0x03];
  return event;
}

SimulatedKeyboard::SimulatedKeyboard(int deviceType)
    : deviceType_(deviceType), family_(CommandFamilyFor(deviceType)) {}

int SimulatedKeyboard::Battery() const {
  std::lock_guard<std::mutex> guard(lock_);
  return battery_;
}

void SimulatedKeyboard::SetBattery(int percent) {
  std::lock_guard<std::mutex> guard(lock_);
  battery_ = percent;
}

SimKeyboardState SimulatedKeyboard::State() const {
  std::lock_guard<std::mutex> guard(lock_);
  return state_;
}

void SimulatedKeyboard::Reset() {
  std::lock_guard<std::mutex> guard(lock_);
  state_ = SimKeyboardState{};
  framedChunks_ = liveMask_ = storedMask_ = 0;
  r7Reports_ = -1;
  r7GetIndex_ = 0;
  wirelessResetArmed_ = false;
  opcodeBlocks_.clear();
}

std::vector<uint8_t> SimulatedKeyboard::StatusReport(uint8_t linkState) const {
  std::vector<uint8_t> report(FRAME_DATA_SIZE, 0);
  std::memcpy(report.data(), FRAME_MAGIC, 4);
  report[FR_CMD_OFFSET] = FR_STATUS_REPORT;
  report[FR_STATUS_BATTERY_OFFSET] = static_cast<uint8_t>(Battery());
  report[FR_STATUS_LINK_OFFSET] = linkState;
  return report;
}

void SimulatedKeyboard::FactoryResetLocked() {
  int resets = state_.factoryResets + 1;
  int requests = state_.statusRequests;
  state_ = SimKeyboardState{};
  state_.factoryResets = resets;
  state_.statusRequests = requests;
  framedChunks_ = liveMask_ = storedMask_ = 0;
  r7Reports_ = -1;
  opcodeBlocks_.clear();
}

// ---------------------------------------------------------------------------------------
// Output reports

std::optional<std::vector<uint8_t>> SimulatedKeyboard::HandleOutput(const uint8_t* report,
                                                                    size_t length,
                                                                    bool wireless) {
  // Work on a full-size copy: a short report reads as zero-padded.
  uint8_t r[kReportSize] = {};
  std::memcpy(r, report, std::min(length, kReportSize));
  const uint8_t* d = r + 1;  // data bytes after the report ID

  std::lock_guard<std::mutex> guard(lock_);
  // Every family answers the status request of the framed format.
  if (StartsWith(d, FRAME_MAGIC) && d[FR_CMD_OFFSET] == FR_GET_STATUS) {
    ++state_.statusRequests;
    return std::nullopt;  // SimulatedDevice answers it: the link state is its business
  }
  switch (family_) {
    case CommandFamily::Framed:
      if (!StartsWith(d, FRAME_MAGIC)) break;
      HandleFramed(d);
      if (d[FR_CMD_OFFSET] == FR_BEGIN_COLOURS) {
        std::vector<uint8_t> answer(FRAME_DATA_SIZE, 0);
        std::memcpy(answer.data(), FRAME_MAGIC, 4);
        answer[FR_CMD_OFFSET] = FR_BEGIN_COLOURS;
        return answer;
      }
      return std::nullopt;
    case CommandFamily::Report7:
      if (!StartsWith(d, W7_MAGIC)) break;
      HandleWireless7(d);
      return std::nullopt;
    case CommandFamily::Opcode:
      HandleOpcode(r);
      return std::nullopt;
    case CommandFamily::None:
      break;
  }
  ++state_.unrecognised;
  return std::nullopt;
}

// One chunk of a six-chunk colour table; chunk 0 starts a new table and a complete set of
// chunks counts as one frame.
void SimulatedKeyboard::StoreColourChunk(int chunk, const uint8_t* payload,
                                         std::array<uint8_t, COLOUR_TABLE_SIZE>& table,
                                         int& chunks, unsigned& mask, int& frames) {
  if (chunk == 0) mask = 0;
  std::memcpy(table.data() + chunk * FR_COLOUR_CHUNK_BYTES, payload, FR_COLOUR_CHUNK_BYTES);
  ++chunks;
  mask |= 1u << chunk;
  if (mask == 0x3F) {
    ++frames;
    mask = 0;
  }
}

void SimulatedKeyboard::HandleFramed(const uint8_t* d) {
  const uint8_t cmd = d[FR_CMD_OFFSET];
  const uint8_t* payload = d + FR_PAYLOAD_OFFSET;
  if (cmd < FR_MACRO_DATA + FR_MACRO_CHUNKS) {
    if (cmd == 0) framedChunks_ = 0;  // chunk 0 starts a new block
    std::memcpy(framedBlock_.data() + cmd * FR_MACRO_CHUNK_BYTES, payload, FR_MACRO_CHUNK_BYTES);
    framedChunks_ |= 1u << cmd;
    if (cmd == FR_MACRO_CHUNKS - 1 && framedChunks_ == 0x7) CommitFramedMacro();
    return;
  }
  if (cmd >= FR_LIVE_COLOURS && cmd < FR_LIVE_COLOURS + FR_COLOUR_CHUNKS) {
    StoreColourChunk(cmd - FR_LIVE_COLOURS, payload, state_.liveColours, state_.liveChunks,
                     liveMask_, state_.liveFrames);
    return;
  }
  if (cmd >= FR_STORED_COLOURS && cmd < FR_STORED_COLOURS + FR_COLOUR_CHUNKS) {
    StoreColourChunk(cmd - FR_STORED_COLOURS, payload, state_.storedColours, state_.storedChunks,
                     storedMask_, state_.storedFrames);
    return;
  }
  switch (cmd) {
    case FR_SET_KEY:
      state_.keyValues[{payload[0] - 1, payload[1]}] = payload[2];
      break;
    case FR_SET_LIGHT: {
      SimLighting& l = state_.lighting;
      ++l.commands;
      l.mode = static_cast<uint8_t>(payload[0] + 1);
      l.brightness = static_cast<uint8_t>(payload[1] + 1);
      l.speed = static_cast<uint8_t>(payload[2] + 1);
      l.direction = payload[3];
      l.colorIndex = payload[4];
      l.raw.assign(d, d + FRAME_DATA_SIZE);
      break;
    }
    case FR_FACTORY_RESET:
      FactoryResetLocked();
      break;
    case FR_BEGIN_COLOURS:
      ++state_.beginColours;
      break;
    case FR_APPLY:
      ++state_.applies;
      break;
    case FR_CUSTOM_LIGHT:
      ++state_.customLights;
      break;
    case FR_SET_SLEEP_TIME:
      state_.sleepTime = payload[0];
      break;
    case FR_SET_RESPONSE_TIME:
      state_.responseTime = payload[0];
      break;
    case FR_RESET_KEYS:
      ++state_.keyResets;
      state_.keyValues.clear();
      state_.macros.clear();
      break;
    case FR_SET_FN_SWITCH:
      state_.fnSwitch = payload[0];
      break;
    default:
      ++state_.unrecognised;
      break;
  }
}

void SimulatedKeyboard::CommitFramedMacro() {
  const uint8_t* b = framedBlock_.data();
  SimMacro macro;
  macro.layer = b[0] - 1;
  macro.keyCode = b[1];
  macro.playCount = b[2];
  macro.eventCount = b[3];
  macro.events = TwoByteEvents(b, framedBlock_.size(), 4, b[3]);
  macro.block.assign(framedBlock_.begin(), framedBlock_.end());
  state_.macros[{macro.layer, macro.keyCode}] = std::move(macro);
  framedChunks_ = 0;
}

// The light settings of the report-7 family, wired or wireless: mode, colour, direction,
// speed, brightness and per-key slot, in that order from `fields`; the r, g, b of a custom
// colour share the direction, speed and slot bytes.
void SimulatedKeyboard::StoreReport7Light(const uint8_t* fields, const uint8_t* raw,
                                          size_t rawSize) {
  SimLighting& l = state_.lighting;
  ++l.commands;
  l.mode = fields[0] + 1;
  l.colorIndex = fields[1];
  l.direction = fields[2];
  l.speed = fields[3] + 1;
  l.brightness = fields[4] + 1;
  l.perKeySlot = fields[5];
  l.r = fields[2];
  l.g = fields[3];
  l.b = fields[5];
  l.raw.assign(raw, raw + rawSize);
}

void SimulatedKeyboard::HandleWireless7(const uint8_t* d) {
  const uint8_t* p = d + 4;  // the six bytes after the magic
  if (AllBytes(p, 6, W7_FACTORY_RESET_FILL)) {
    wirelessResetArmed_ = true;
    return;
  }
  if (AllBytes(p, 6, 0)) {
    if (wirelessResetArmed_) FactoryResetLocked();
    wirelessResetArmed_ = false;
    return;
  }
  if (p[0] != W7_SET_LIGHT) {
    ++state_.unrecognised;
    return;
  }
  StoreReport7Light(p + 1, d, FRAME_DATA_SIZE);
}

void SimulatedKeyboard::HandleOpcode(const uint8_t* r) {
  if (std::memcmp(r + 1, OP_FACTORY_RESET_BYTES, 4) == 0) {
    FactoryResetLocked();
    return;
  }
  switch (r[1]) {
    case OP_SELECT_LIGHT_MODE: {
      SimLighting& l = state_.lighting;
      ++l.commands;
      l.mode = r[3];
      l.raw.assign(r, r + kReportSize);
      break;
    }
    case OP_SET_LIGHT_PARAMS: {
      SimLighting& l = state_.lighting;
      ++l.commands;
      l.colorful = (r[3] & 0x80) != 0;
      l.direction = (r[3] >> 4) & 0x03;
      l.speed = r[3] & 0x0F;
      l.r = r[4];
      l.g = r[5];
      l.b = r[6];
      l.brightness = r[7];
      l.raw.assign(r, r + kReportSize);
      break;
    }
    case OP_KEY_TABLE: {
      size_t length = std::min<size_t>(r[2], OP_KEY_TABLE_CHUNK_BYTES);
      size_t offset = r[3] | (r[4] << 8);
      if (offset < OP_KEY_TABLE_SIZE) {
        length = std::min(length, OP_KEY_TABLE_SIZE - offset);
        std::memcpy(state_.keyTable.data() + offset, r + 5, length);
      }
      ++state_.keyTableReports;
      break;
    }
    case OP_MACRO_DATA: {
      size_t offset = r[3] | (r[4] << 8);
      int slot = r[5];
      std::vector<uint8_t>& block = opcodeBlocks_[slot];
      if (offset == 0) block.clear();
      if (block.size() < offset + OP_MACRO_CHUNK_BYTES) block.resize(offset + OP_MACRO_CHUNK_BYTES);
      std::memcpy(block.data() + offset, r + 6, OP_MACRO_CHUNK_BYTES);
      DecodeOpcodeMacro(slot);
      break;
    }
    default:
      ++state_.unrecognised;
      break;
  }
}

void SimulatedKeyboard::DecodeOpcodeMacro(int slot) {
  const std::vector<uint8_t>& b = opcodeBlocks_[slot];
  SimMacro macro;
  macro.slot = slot;
  macro.playCount = b[0];
  macro.eventCount = b[1];
  for (size_t i = 0; i < b[1] && 2 + 3 * i + 2 < b.size(); ++i) {
    const uint8_t* e = b.data() + 2 + 3 * i;
    SimMacroEvent event;
    event.usage = e[0];
    event.pressed = (e[2] & 0x80) != 0;
    event.delayMs = e[1] | ((e[2] & 0x7F) << 8);
    macro.events.push_back(event);
  }
  macro.block = b;
  state_.opcodeMacros[slot] = std::move(macro);
}

// ---------------------------------------------------------------------------------------
// Feature reports (report-7 family, wired)

void SimulatedKeyboard::HandleFeatureSet(const uint8_t* report, size_t length) {
  uint8_t r[kReportSize] = {};
  std::memcpy(r, report, std::min(length, kReportSize));
  std::lock_guard<std::mutex> guard(lock_);
  if (std::memcmp(r, R7_RESET_KEYS_BYTES, 4) == 0) {
    ++state_.keyResets;
    state_.keySlots.clear();
    state_.macroSlots.clear();
    state_.slotTable.fill(0);
    r7GetIndex_ = 0;
    return;
  }
  if (r[0] != R7_REPORT_ID || family_ != CommandFamily::Report7) {
    ++state_.unrecognised;
    return;
  }
  const uint8_t sub = r[1];
  if (length <= FEATURE8_SIZE && sub == R7_READ_SLOTS && r[2] == R7_SUBCOMMAND_ARG) {
    r7GetIndex_ = 0;  // the next four gets hand out the slot table
    return;
  }
  if (sub == R7_FACTORY_RESET && r[2] == R7_FACTORY_RESET_ARG) {
    FactoryResetLocked();
    state_.slotTable.fill(0);
    return;
  }
  if (sub == R7_MACRO_DATA || (sub == R7_MACRO_DATA_NEXT && r7Reports_ >= 0)) {
    if (sub == R7_MACRO_DATA) {
      r7Block_.fill(0);
      r7Reports_ = 0;
    }
    std::memcpy(r7Block_.data() + R7_MACRO_CHUNK_BYTES * r7Reports_, r + 2, R7_MACRO_CHUNK_BYTES);
    if (++r7Reports_ == R7_MACRO_REPORTS) CommitReport7Macro();
    return;
  }
  if (sub == R7_SET_LIGHT) {
    StoreReport7Light(r + 2, r, kReportSize);
    return;
  }
  if (sub == R7_SET_KEY && r[2] == R7_SUBCOMMAND_ARG) {
    int slot = r[3];
    if (slot >= 1 && slot <= R7_KEY_SLOTS) {
      if (r[4] == 0) {
        state_.keySlots.erase(slot);
      } else {
        state_.keySlots[slot] = {r[4], r[6]};
      }
      state_.slotTable[R7_MACRO_SLOTS + slot] = r[4];
    } else {
      ++state_.unrecognised;
    }
    return;
  }
  ++state_.unrecognised;
}

void SimulatedKeyboard::CommitReport7Macro() {
  r7Reports_ = -1;
  const uint8_t* b = r7Block_.data();
  int slot = b[1];
  if (slot < 1 || slot > R7_MACRO_SLOTS) {
    ++state_.unrecognised;
    return;
  }
  state_.slotTable[slot] = b[2];
  if (b[2] == 0) {  // key code 0 frees the slot
    state_.macroSlots.erase(slot);
    return;
  }
  SimMacro macro;
  macro.slot = slot;
  macro.keyCode = b[2];
  macro.playCount = b[3];
  // No event count: events run up to the first all-zero pair.
  size_t count = 0;
  while (4 + 2 * count + 1 < r7Block_.size() && (b[4 + 2 * count] || b[5 + 2 * count])) ++count;
  macro.eventCount = static_cast<int>(count);
  macro.events = TwoByteEvents(b, r7Block_.size(), 4, count);
  macro.block.assign(r7Block_.begin(), r7Block_.end());
  state_.macroSlots[slot] = std::move(macro);
}

int SimulatedKeyboard::HandleFeatureGet(uint8_t* data, size_t length) {
  if (length == 0) return 0;
  std::lock_guard<std::mutex> guard(lock_);
  const uint8_t id = data[0];
  std::memset(data, 0, length);
  data[0] = id;
  if (id != R7_REPORT_ID) return static_cast<int>(length);
  // Four answers of seven table bytes each, then round again.
  size_t part = static_cast<size_t>(r7GetIndex_ % 4);
  ++r7GetIndex_;
  for (size_t i = 0; i < 7 && 1 + i < length; ++i) data[1 + i] = state_.slotTable[7 * part + i];
  return static_cast<int>(length);
}
