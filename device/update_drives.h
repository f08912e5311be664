#pragma once
// Keyboards and receivers in firmware-update mode show up as USB drives with fixed
// identities; this finds them among the block devices.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint16_t kUpdateModeVendor = 0x4C4A;
inline constexpr uint16_t kKeyboardUpdateProduct = 0x2342;
inline constexpr uint16_t kReceiverUpdateProduct = 0x3442;

struct UpdateDrive {
  std::string deviceNode;  // "/dev/sdb"
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t revision = 0;
};

// Every USB disk of the update-mode vendor that is present now.
std::vector<UpdateDrive> ListUpdateDrives();
// How many of `drives` have the update-mode vendor and the product id (any for -1).
int CountUpdateDrives(const std::vector<UpdateDrive>& drives, int productId);
// CountUpdateDrives over the drives present now.
int FindUpdateDrives(int productId);
