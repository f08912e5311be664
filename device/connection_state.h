#pragma once
// What the program knows about the keyboard's connection, as the device monitor keeps it.
struct ConnectionState {
  // At least one interface of a configured identity is open.
  bool interfaceFound = false;
  // Some configured identity has an interface whose keyboard answers (the link is up).
  bool keyboardPresent = false;
  // 0 cable, 2 receiver (1 is treated like 2), -1 none.
  int connectionMode = -1;
};
