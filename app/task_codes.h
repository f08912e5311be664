#pragma once
// Codes of the worker's tasks. 11 and 13 are not used; a code without a routine is
// simply removed from the queue.
enum TaskCode : int {
  TASK_STARTUP = 1,
  TASK_DEVICE_ARRIVED = 2,  // both 2 and 3 run the device refresh
  TASK_DEVICE_REMOVED = 3,
  TASK_SWITCH_DEVICE = 4,
  TASK_LOAD_PAGES = 5,
  TASK_SEND_KEYS = 6,
  TASK_CLEAR_DELETED_MACRO = 7,
  TASK_RESEND_ALL_KEYS = 8,
  TASK_SEND_LIGHT = 9,
  TASK_SEND_KEY_COLOURS = 10,
  TASK_FACTORY_RESET = 12,
  TASK_CHECK_SOFTWARE = 14,
  TASK_CHECK_FIRMWARE = 15,
  TASK_CHECK_DONGLE = 16,
  TASK_UPDATE_SOFTWARE = 17,
  TASK_UPDATE_FIRMWARE = 18,
  TASK_UPDATE_DONGLE = 19,
};

// Tasks that run whether or not the keyboard answers.
inline bool TaskRunsWithoutDevice(int code) {
  return code == TASK_STARTUP || code == TASK_DEVICE_ARRIVED || code == TASK_DEVICE_REMOVED ||
         (code >= TASK_CHECK_SOFTWARE && code <= TASK_UPDATE_DONGLE);
}

// Tasks that talk to the keyboard and need it present with the link up.
inline bool TaskNeedsDevice(int code) {
  return (code >= TASK_LOAD_PAGES && code <= TASK_SEND_KEY_COLOURS) || code == TASK_FACTORY_RESET;
}
