#pragma once
// One USB identity under which a keyboard model can appear (wired, through the
// receiver, ...), as declared by a `mode` element of config.xml. The same record
// with vid/pid 0 stands for the model itself in the keyboard list.
#include <string>

struct DeviceModeEntry {
  // The model name until a `mode` element overwrites it with its product_name.
  std::wstring productName;
  int device_type = 0;
  // The layout name: the model's layout file is layouts/<deviceInfo>.xml.
  std::wstring deviceInfo;
  // Connection kind of this identity (0 cable, 2 receiver, as config.xml sets it).
  int mode = 0;
  int vid = 0;
  int pid = 0;
  int rev = 0;
  std::wstring desc;
  std::wstring reserved;  // carried, always empty
  // Interface filter text such as "VID_3A5C&PID_0301&MI_01".
  std::wstring hidInterface;
  // 1 once the device monitor has found a matching connected interface.
  int present = 0;
  int reservedIndex = -1;  // carried, always -1
};
