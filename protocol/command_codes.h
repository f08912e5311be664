#pragma once
// Command numbers, fixed bytes and sizes of the three command families. Shared by the
// builders in this folder, the HID transport and the simulated keyboard.
#include <cstddef>
#include <cstdint>

// ---- Report sizes -------------------------------------------------------------------------
inline constexpr size_t FRAME_DATA_SIZE = 64;     // data bytes of an output / input report
inline constexpr size_t REPORT_SIZE = 65;         // report ID + 64 data bytes
inline constexpr size_t FEATURE8_SIZE = 8;        // the short feature exchange request
inline constexpr size_t FEATURE8_REPLY_SIZE = 28; // four answers of 7 bytes each

// ---- Framed family (device_type 300-399) --------------------------------------------------
// Data bytes 0-3 are the magic, byte 4 the command; offsets below are data offsets.
inline constexpr uint8_t FRAME_MAGIC[4] = {0xAA, 0x55, 0xCC, 0x33};
inline constexpr size_t FR_CMD_OFFSET = 4;
inline constexpr size_t FR_PAYLOAD_OFFSET = 5;

inline constexpr uint8_t FR_MACRO_DATA = 0x00;  // chunks 0x00, 0x01, 0x02
inline constexpr uint8_t FR_SET_KEY = 0x04;
inline constexpr uint8_t FR_SET_LIGHT = 0x07;
inline constexpr uint8_t FR_FACTORY_RESET = 0x08;
inline constexpr uint8_t FR_BEGIN_COLOURS = 0x09;
inline constexpr uint8_t FR_APPLY = 0x0A;
inline constexpr uint8_t FR_CUSTOM_LIGHT = 0x0B;
inline constexpr uint8_t FR_SET_SLEEP_TIME = 0x0C;
inline constexpr uint8_t FR_SET_RESPONSE_TIME = 0x0D;
inline constexpr uint8_t FR_GET_STATUS = 0x0E;
inline constexpr uint8_t FR_RESET_KEYS = 0x0F;
inline constexpr uint8_t FR_SET_FN_SWITCH = 0x10;
inline constexpr uint8_t FR_LIVE_COLOURS = 0xF0;    // chunks 0xF0-0xF5
inline constexpr uint8_t FR_STORED_COLOURS = 0xF6;  // chunks 0xF6-0xFB
inline constexpr uint8_t FR_STATUS_REPORT = 0x0E;   // input report: command byte of the status

inline constexpr int FR_MACRO_CHUNKS = 3;
inline constexpr size_t FR_MACRO_CHUNK_BYTES = 54;
inline constexpr size_t FR_MACRO_BLOCK_SIZE = 162;  // 3 x 54
inline constexpr int FR_MACRO_MAX_EVENTS = 79;      // (162 - 4) / 2
inline constexpr int FR_COLOUR_CHUNKS = 6;
inline constexpr size_t FR_COLOUR_CHUNK_BYTES = 54;

// FR_STATUS_REPORT data offsets and link states.
inline constexpr size_t FR_STATUS_BATTERY_OFFSET = 5;
inline constexpr size_t FR_STATUS_LINK_OFFSET = 6;
inline constexpr uint8_t FR_LINK_NONE = 0;
inline constexpr uint8_t FR_LINK_RECEIVER = 1;
inline constexpr uint8_t FR_LINK_CABLE = 3;
inline constexpr int FR_BATTERY_MAX = 100;  // above: no level available

// Mode byte (mode - 1) of the per-key custom mode.
inline constexpr uint8_t FR_CUSTOM_MODE_BYTE = 0x17;

// Connection modes: 0 cable, 2 receiver (1 counts as receiver), -1 none. The report-7
// family speaks feature reports over the cable and BB AA 99 88 frames otherwise.
inline constexpr int CONNECTION_CABLE = 0;

// ---- Report-7 family (device_type 201-299) ------------------------------------------------
// Wired: feature report 7 (65 bytes, byte 0 = report ID 7); offsets are report bytes.
inline constexpr uint8_t R7_REPORT_ID = 0x07;
inline constexpr uint8_t R7_FACTORY_RESET = 0xF0;     // 07 F0 AA
inline constexpr uint8_t R7_FACTORY_RESET_ARG = 0xAA;
inline constexpr uint8_t R7_MACRO_DATA = 0xF1;        // first report 07 F1, the others 07 00
inline constexpr uint8_t R7_MACRO_DATA_NEXT = 0x00;
inline constexpr uint8_t R7_SET_LIGHT = 0xF7;
inline constexpr uint8_t R7_SET_KEY = 0xFA;           // 07 FA 01
inline constexpr uint8_t R7_READ_SLOTS = 0xFB;        // 07 FB 01
inline constexpr uint8_t R7_SUBCOMMAND_ARG = 0x01;
// R7_RESET_KEYS is an 8-byte feature report starting AA 55 CC 0F.
inline constexpr uint8_t R7_RESET_KEYS_BYTES[4] = {0xAA, 0x55, 0xCC, 0x0F};

inline constexpr int R7_MACRO_REPORTS = 28;
inline constexpr size_t R7_MACRO_CHUNK_BYTES = 6;
inline constexpr size_t R7_MACRO_BLOCK_SIZE = 168;  // 28 x 6
inline constexpr int R7_MACRO_MAX_EVENTS = 82;      // (168 - 4) / 2
inline constexpr int R7_MACRO_SLOTS = 13;           // macro slots 1-13
inline constexpr int R7_KEY_SLOTS = 10;             // function slots 1-10
inline constexpr size_t R7_SLOT_TABLE_SIZE = 28;

// Wireless (through the receiver): output report 0, data bytes 0-3 = BB AA 99 88.
inline constexpr uint8_t W7_MAGIC[4] = {0xBB, 0xAA, 0x99, 0x88};
inline constexpr uint8_t W7_SET_LIGHT = 0xAA;  // data byte 4 of W7_SET_LIGHT
inline constexpr uint8_t W7_FACTORY_RESET_FILL = 0xAA;  // data bytes 4-9 of the first frame
inline constexpr int W7_FACTORY_RESET_GAP_MS = 1600;

// ---- Opcode family (device_type up to 200) ------------------------------------------------
// Output report 0; offsets are report bytes (byte 0 = report ID 0, byte 1 = opcode).
inline constexpr uint8_t OP_SELECT_LIGHT_MODE = 0x88;
inline constexpr uint8_t OP_SET_LIGHT_PARAMS = 0x89;
inline constexpr uint8_t OP_KEY_TABLE = 0x8D;
inline constexpr uint8_t OP_MACRO_DATA = 0x8E;
inline constexpr uint8_t OP_FACTORY_RESET_BYTES[4] = {0xFF, 0xFE, 0xAA, 0xFF};  // report bytes 1-4

inline constexpr size_t OP_MACRO_CHUNK_BYTES = 59;
inline constexpr int OP_MACRO_MAX_EVENTS = 255;     // the event count is one byte
inline constexpr int OP_MAX_SLOTS = 256;            // slot numbers 0-255
inline constexpr size_t OP_KEY_TABLE_ENTRIES = 180;
inline constexpr size_t OP_KEY_TABLE_SIZE = 360;    // 2 bytes per entry
inline constexpr int OP_KEY_TABLE_REPORTS = 4;
inline constexpr size_t OP_KEY_TABLE_CHUNK_BYTES = 60;
inline constexpr uint8_t OP_KEY_TABLE_LENGTHS[4] = {60, 60, 60, 40};
inline constexpr uint8_t OP_KEY_COMBINATION = 0x20;  // second byte of a type 1 / type 2 entry
inline constexpr uint8_t OP_KEY_MACRO = 0x40;        // second byte of a macro / shortcut entry

// ---- Colour table (framed per-key colours) ------------------------------------------------
inline constexpr int COLOUR_TABLE_ENTRIES = 200;
inline constexpr size_t COLOUR_TABLE_SIZE = 600;  // R, G, B per light index

// ---- Macro events and assignment types ----------------------------------------------------
inline constexpr int MACRO_EVENT_PRESS = 2;
inline constexpr int MACRO_EVENT_RELEASE = 3;
inline constexpr int ASSIGN_DEFAULT = 0;
inline constexpr int ASSIGN_KEY_FUNCTION = 1;
inline constexpr int ASSIGN_KEY_COMBINATION = 2;
inline constexpr int ASSIGN_MACRO = 3;
inline constexpr int ASSIGN_SHORTCUT = 7;

// ---- Pauses named by the command tables (milliseconds) -------------------------------------
inline constexpr int PAUSE_FR_MACRO_CHUNK_MS = 20;      // after each FR_MACRO_DATA chunk
inline constexpr int PAUSE_FR_MACRO_END_MS = 170;       // further, after the third chunk
inline constexpr int PAUSE_FR_SET_KEY_MS = 200;         // after FR_SET_KEY
inline constexpr int PAUSE_FULL_UPLOAD_KEY_MS = 16;     // before each key of a full upload
inline constexpr int PAUSE_RESET_MS = 100;              // after FR/R7 factory reset, FR_RESET_KEYS
inline constexpr int PAUSE_FR_CUSTOM_LIGHT_MS = 10;     // after FR_CUSTOM_LIGHT
inline constexpr int PAUSE_FR_STORED_COLOURS_MS = 3;    // before each stored colour chunk
inline constexpr int PAUSE_OP_KEY_TABLE_MS = 10;        // before each OP_KEY_TABLE report
inline constexpr int PAUSE_OP_AFTER_MACROS_MS = 20;     // macro upload -> key table
inline constexpr int PAUSE_OP_KEY_MS = 10;              // before each key's OP_MACRO_DATA
inline constexpr int PAUSE_OP_MACRO_CHUNK_MS = 100;     // before each macro chunk
inline constexpr int PAUSE_OP_BEFORE_RESET_MS = 100;    // key table -> OP_FACTORY_RESET
// Pauses of the sending tasks around a single key (not part of any report sequence).
inline constexpr int PAUSE_SINGLE_KEY_BEFORE_MS = 100;  // framed: before reading and sending a key
inline constexpr int PAUSE_R7_AFTER_READ_SLOTS_MS = 100;  // report-7: slot table read -> send
