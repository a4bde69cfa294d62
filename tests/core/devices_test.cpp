#include "core/devices.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace dravlink {
namespace {

class DeviceTableTest : public testing::Test {
 protected:
  void SetUp() override { table.Fill(); }
  DeviceTable table;
};

TEST(DeviceTableEmptyTest, NothingMatchesBeforeFill) {
  const DeviceTable table;
  EXPECT_EQ(table.PicsHigh, -1);
  const DeviceSizes sizes = table.Lookup("");
  EXPECT_EQ(sizes.CommandSize, "");
  EXPECT_EQ(sizes.InputSize, "");
}

TEST_F(DeviceTableTest, FillSetsTheHighestIndex) {
  EXPECT_EQ(table.PicsHigh, 12);
}

TEST_F(DeviceTableTest, DuplicateRowsAreOneAndFive) {
  EXPECT_EQ(table.Pics[1].Device, "16F877");
  EXPECT_EQ(table.Pics[5].Device, "16F877");
}

struct LookupCase {
  const char* name;
  std::string device;
  std::string commandSize;
  std::string inputSize;
};

// Only the row name: the rows hold bytes that print badly.
void PrintTo(const LookupCase& row, std::ostream* os) {
  *os << row.name;
}

class LookupTest : public DeviceTableTest, public testing::WithParamInterface<LookupCase> {};

TEST_P(LookupTest, FindsTheSizes) {
  const DeviceSizes sizes = table.Lookup(GetParam().device);
  EXPECT_EQ(sizes.CommandSize, GetParam().commandSize);
  EXPECT_EQ(sizes.InputSize, GetParam().inputSize);
}

const LookupCase kLookupCases[] = {
    {"F84", "16F84", "1024", "64"},
    {"F877InTwoRows", "16F877", "8192", "256"},
    {"F628", "16F628", "2048", "128"},
    {"F627HasTheCorrectedSize", "16F627", "1024", "128"},
    {"F873", "16F873", "4096", "128"},
    {"F877A", "16F877A", "8192", "256"},
    {"F242", "18F242", "16384", "256"},
    {"F252", "18F252", "32768", "256"},
    {"F442", "18F442", "16384", "256"},
    {"F452", "18F452", "32768", "256"},
    {"F675", "12F675", "1024", "128"},
    {"F629", "12F629", "1024", "128"},
    {"LowerCase", "16f877", "", ""},
    {"WithPrefix", "PIC16F877", "", ""},
    {"Empty", "", "", ""},
    {"PrefixOfARow", "16F8", "", ""},
    {"TrailingSpace", "16F877 ", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Devices, LookupTest, testing::ValuesIn(kLookupCases),
                         [](const testing::TestParamInfo<LookupCase>& info) {
                           return std::string(info.param.name);
                         });

// The scan goes on after a match: a later row with the same name must win.
TEST_F(DeviceTableTest, LastMatchWins) {
  table.Pics[5].CommandSize = "1";
  table.Pics[5].InputSize = "2";
  const DeviceSizes sizes = table.Lookup("16F877");
  EXPECT_EQ(sizes.CommandSize, "1");
  EXPECT_EQ(sizes.InputSize, "2");
}

// Rows past PicsHigh are not looked at.
TEST_F(DeviceTableTest, ScanStopsAtPicsHigh) {
  table.PicsHigh = 4;
  EXPECT_EQ(table.Lookup("16F627").CommandSize, "1024");
  EXPECT_EQ(table.Lookup("16F877A").CommandSize, "");
  table.Pics[5].CommandSize = "1";
  EXPECT_EQ(table.Lookup("16F877").CommandSize, "8192");
}

}  // namespace
}  // namespace dravlink
