#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dravlink {

// One row of the device table. The sizes stay text from end to end: they are written into the
// settings file as they stand and never parsed.
struct TPics {
  std::string Device;       // name without the "PIC" prefix, matched byte for byte
  std::string CommandSize;  // program memory size in words, written on lines 23 and 82
  std::string InputSize;    // data memory size, written on lines 22 and 83
};

struct DeviceSizes {
  std::string CommandSize;
  std::string InputSize;
};

constexpr int kPicsRows = 13;

// The built-in table. Empty until Fill() runs; the lookup scans rows 0..PicsHigh.
struct DeviceTable {
  std::array<TPics, kPicsRows> Pics{};
  int PicsHigh = -1;

  // Assigns the rows in index order, then sets PicsHigh to the last index.
  void Fill();

  // Every row is looked at and the last one whose Device equals `device` exactly wins; no match
  // gives two empty texts, which is not an error.
  DeviceSizes Lookup(std::string_view device) const;
};

}  // namespace dravlink
