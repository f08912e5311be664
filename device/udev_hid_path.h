#pragma once
// Builds the interface path text of a udev "hidraw" device from its parents.
#include <optional>
#include <string>

struct udev_device;

std::optional<std::wstring> InterfacePathOfHidraw(udev_device* hidraw);
