// SPDX-License-Identifier: GPL-3.0-or-later
// The Intel HEX parser (segments, layouts, limits) and the firmware load through SendBOOT.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "intel_hex.h"
#include "link_fixture.h"

namespace qvt::test {
namespace {

using hex::ParseIntelHex;
using hex::Segment;

// A data record of `count` bytes valued from `first` on.
std::string Record(uint16_t address, int count, uint8_t first = 0, int type = 0) {
  char text[600];
  int n = std::snprintf(text, sizeof text, ":%02X%04X%02X", count, address, type);
  for (int i = 0; i < count; ++i) n += std::snprintf(text + n, sizeof text - n, "%02X", (first + i) & 0xFF);
  std::snprintf(text + n, sizeof text - n, "00\n");
  return text;
}

const std::string kEnd = ":00000001FF\n";

TEST(IntelHexTest, ContiguousRecordsMergeIntoSegmentsOfAtMost4096Bytes) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Segment> segments;
  };
  std::string full;
  for (int i = 0; i < 257; ++i) full += Record(static_cast<uint16_t>(0x100 + 16 * i), 16);
  const Case cases[] = {
      {"adjacent", Record(0x0000, 16) + Record(0x0010, 16) + kEnd, {{0x0000, 32, 0x0000}}},
      {"gap", Record(0x0000, 16) + Record(0x0011, 16) + kEnd, {{0x0000, 16, 0}, {0x0011, 16, 0x0011}}},
      {"backwards", Record(0x0010, 16) + Record(0x0000, 16) + kEnd, {{0x0010, 16, 0x10}, {0x0000, 16, 0}}},
      {"limit", full + kEnd, {{0x0100, 4096, 0x0100}, {0x1100, 16, 0x1100}}},
      {"external", Record(0x1FF0, 16) + Record(0x2000, 4) + kEnd, {{0x1FF0, 20, 0x1FF0}}},
      {"empty record", Record(0x0040, 0) + kEnd, {{0x0040, 0, 0x0040}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto image = ParseIntelHex(c.text);
    EXPECT_EQ(image.segments, c.segments);
    EXPECT_GE(image.outcome, 0);
  }
}

TEST(IntelHexTest, OutcomeAndStoredBytes) {
  auto image = ParseIntelHex(Record(0x0100, 3, 0xA0) + Record(0x0200, 2, 0x10, 4) + Record(0, 2, 0, 2) + kEnd);
  EXPECT_EQ(image.outcome, 3) << "the end record gives the data bytes read";
  EXPECT_EQ(image.bytes[0x0100], 0xA0);
  EXPECT_EQ(image.bytes[0x0102], 0xA2);
  EXPECT_EQ(image.bytes[0x0200], 0) << "other record types are ignored";

  // Without an end record, or at a line not starting with ':', the outcome is -1 but what
  // was gathered stays.
  for (const std::string& text : {Record(0x10, 4), Record(0x10, 4) + "garbage\n" + Record(0x40, 4) + kEnd,
                                  Record(0x10, 4) + "\n" + kEnd}) {
    image = ParseIntelHex(text);
    EXPECT_EQ(image.outcome, -1);
    EXPECT_EQ(image.segments, (std::vector<Segment>{{0x10, 4, 0x10}}));
  }
  // Lower-case digits and "\r\n" line ends.
  image = ParseIntelHex(":02000a00abcd00\r\n:00000001FF\r\n");
  EXPECT_EQ(image.outcome, 2);
  EXPECT_EQ(image.bytes[0x0A], 0xAB);
  EXPECT_EQ(image.bytes[0x0B], 0xCD);
}

TEST(IntelHexTest, SpacedLayoutHoldsForTheRestOfTheFile) {
  const auto image = ParseIntelHex(": 02 0010 00 1122 00\n"
                                   ":02001200334400\n" // read with the spaced positions: type 0x34
                                   ": 00 0000 01 FF\n");
  EXPECT_EQ(image.outcome, 2);
  EXPECT_EQ(image.bytes[0x12], 0);
  EXPECT_EQ(image.segments, (std::vector<Segment>{{0x10, 2, 0x10}}));
  EXPECT_EQ(image.bytes[0x10], 0x11);
  EXPECT_EQ(image.bytes[0x11], 0x22);

  const auto spaced = ParseIntelHex(": 02 0010 00 1122 00\n: 01 0012 00 33 00\n: 00 0000 01 FF\n");
  EXPECT_EQ(spaced.outcome, 3);
  EXPECT_EQ(spaced.segments, (std::vector<Segment>{{0x10, 3, 0x10}}));
}

TEST(IntelHexTest, OverrunsAreRefused) {
  // Past address 0xFFFF: refused; ending exactly at 0xFFFF: stored.
  auto image = ParseIntelHex(Record(0xFFF8, 16, 1) + Record(0xFFF0, 16, 7) + kEnd);
  EXPECT_EQ(image.refusedRecords, 1);
  EXPECT_EQ(image.segments, (std::vector<Segment>{{0xFFF0, 16, 0xFFF0}}));
  EXPECT_EQ(image.bytes[0xFFFF], 7 + 15);
  EXPECT_EQ(image.outcome, 16);

  // A count larger than the data on the line ends the parse without storing the record.
  image = ParseIntelHex(":10000000AABBCCDD00\n" + kEnd);
  EXPECT_EQ(image.outcome, -1);
  EXPECT_TRUE(image.segments.empty());
  EXPECT_EQ(image.bytes[0], 0);

  // Lines past 255 characters end the parse.
  const std::string longest = Record(0x0000, 123); // 1 + 8 + 246 + 2 = 257 characters
  image = ParseIntelHex(Record(0x1000, 1) + longest + kEnd);
  EXPECT_EQ(image.outcome, -1);
  EXPECT_EQ(image.segments.size(), 1u);
  EXPECT_EQ(ParseIntelHex(Record(0x0000, 122) + kEnd).outcome, 122) << "255 characters fit";

  // The 4,097th segment is refused.
  std::string many;
  for (int i = 0; i < 4097; ++i) many += Record(static_cast<uint16_t>(2 * i), 1);
  image = ParseIntelHex(many + kEnd);
  EXPECT_EQ(image.segments.size(), hex::kMaxSegments);
  EXPECT_EQ(image.refusedRecords, 1);
  EXPECT_EQ(image.outcome, 4096);
}

TEST(IntelHexTest, FileReaderAgreesWithTheTextParser) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "qvtlink_reader.hex";
  for (const std::string& text : {Record(0, 16) + Record(16, 8) + kEnd, Record(0x10, 122) + Record(0x300, 123) + kEnd,
                                  Record(0x20, 4) + std::string(600, ':') + "\n" + kEnd, Record(0x30, 2)}) {
    std::ofstream(path, std::ios::binary) << text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    const auto read = hex::ParseIntelHexFile(file);
    std::fclose(file);
    const auto parsed = ParseIntelHex(text);
    EXPECT_EQ(read.outcome, parsed.outcome);
    EXPECT_EQ(read.segments, parsed.segments);
    EXPECT_EQ(read.bytes, parsed.bytes);
  }
  std::filesystem::remove(path);
}

class FirmwareTest : public LinkTest {
protected:
  void TearDown() override {
    std::filesystem::remove(path_);
    LinkTest::TearDown();
  }
  std::filesystem::path path_ = std::filesystem::temp_directory_path() / "qvtlink_boot.hex";
};

TEST_F(FirmwareTest, SegmentsBelow0x2000AreDownloadedWhileTheCpuIsHeldInReset) {
  std::ofstream(path_, std::ios::binary) << Record(0x0000, 16, 0x40) + Record(0x0010, 4, 0x50) +
                                                Record(0x1800, 2, 0x60) + Record(0x2000, 8) + kEnd;
  const int64_t before = NowMs();
  EXPECT_EQ(SendBOOT(Counted8("VexorQVT2-3"), Counted8(path_.string())), 0);
  EXPECT_GE(NowMs() - before, 500 + 10 + 10 + 500);
  EXPECT_EQ(fake_.OpenedPaths(), (std::vector<std::string>{"\\\\.\\VexorQVT2-3"}));
  const auto log = fake_.Log();
  ASSERT_EQ(log.size(), 4u) << "reset, two downloads, release; the segment at 0x2000 stays";
  const std::vector<uint8_t> reset = {0xA0, 0, 0x00, 0xE6, 0, 0, 1, 0, 0, 1};
  EXPECT_EQ(log[0].code, kRequestVendor);
  EXPECT_EQ(log[0].in, reset);
  EXPECT_EQ(log[1].code, kRequestDownload);
  EXPECT_EQ(log[1].in, (std::vector<uint8_t>{0x00, 0x00}));
  ASSERT_EQ(log[1].bytes.size(), 20u);
  EXPECT_EQ(log[1].bytes[0], 0x40);
  EXPECT_EQ(log[1].bytes[16], 0x50);
  EXPECT_EQ(log[2].in, (std::vector<uint8_t>{0x00, 0x18}));
  EXPECT_EQ(log[2].bytes, (std::vector<uint8_t>{0x60, 0x61}));
  std::vector<uint8_t> release = reset;
  release[9] = 0;
  EXPECT_EQ(log[3].in, release);
}

TEST_F(FirmwareTest, NamesAndFilesThatCannotBeUsedSendNothing) {
  std::ofstream(path_, std::ios::binary) << Record(0, 4) + kEnd;
  struct Case {
    std::string device, file;
    int32_t plain, underscored;
    bool opensDevice;
  };
  const Case cases[] = {
      {std::string(50, 'd'), path_.string(), 1, 254, false},     // device name past 49 characters
      {"VexorQVT2-0", "/" + std::string(61, 'f'), 0, 0, true},    // file name past 61 characters
      {"VexorQVT2-0", "/nonexistent/qvt.hex", 0, 0, true},        // missing file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device + " " + c.file);
    const size_t opened = fake_.OpenedPaths().size();
    EXPECT_EQ(SendBOOT(Counted8(c.device), Counted8(c.file)), c.plain);
    EXPECT_EQ(_SendBOOT(Counted16(c.device), Counted16(c.file)), c.underscored);
    EXPECT_EQ(fake_.OpenedPaths().size() - opened, c.opensDevice ? 2u : 0u);
    EXPECT_TRUE(fake_.Log().empty());
  }
  EXPECT_EQ(SendBOOT(Counted8(std::string(49, 'd')), Counted8(path_.string())), 0) << "49 characters are fine";
}

} // namespace
} // namespace qvt::test
