#include "core/devices.h"

namespace dravlink {

void DeviceTable::Fill() {
  // Device, CommandSize, InputSize. Rows 1 and 5 are the same on purpose: the lookup keeps the
  // last match, so the duplicate is harmless and kept as the table has always had it.
  Pics = {{
      {"16F84", "1024", "64"},
      {"16F877", "8192", "256"},
      {"16F628", "2048", "128"},
      {"16F627", "1024", "128"},  // 1024 words of program memory, as the part has
      {"16F873", "4096", "128"},
      {"16F877", "8192", "256"},
      {"16F877A", "8192", "256"},
      {"18F242", "16384", "256"},
      {"18F252", "32768", "256"},
      {"18F442", "16384", "256"},
      {"18F452", "32768", "256"},
      {"12F675", "1024", "128"},
      {"12F629", "1024", "128"},
  }};
  PicsHigh = kPicsRows - 1;
}

DeviceSizes DeviceTable::Lookup(std::string_view device) const {
  DeviceSizes sizes;
  for (int i = 0; i <= PicsHigh && i < kPicsRows; ++i) {
    const TPics& row = Pics[static_cast<std::size_t>(i)];
    if (row.Device == device) sizes = {row.CommandSize, row.InputSize};
  }
  return sizes;
}

}  // namespace dravlink
