// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/Mp4BoxReader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string header(uint32_t size, const char* type) {
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes += char((size >> shift) & 0xFF);
  return bytes + type;
}

std::string largeHeader(uint64_t size, const char* type) {
  std::string bytes = header(1, type);
  for (int shift = 56; shift >= 0; shift -= 8)
    bytes += char((size >> shift) & 0xFF);
  return bytes;
}

struct Walk {
  std::vector<std::string> types;
  std::vector<uint64_t> offsets;
  Mp4BoxReader::Result last;
};

Walk walk(const std::string& bytes) {
  Walk result;
  Mp4BoxReader reader = Mp4BoxReader::OfBytes(bytes);
  Mp4BoxReader::Box box;
  while ((result.last = reader.Next(box)) == Mp4BoxReader::kBox) {
    result.types.emplace_back(box.type, 4);
    result.offsets.push_back(box.offset);
  }
  return result;
}

} // namespace

// One walker for every box size form: a wrong size must stop the walk, never
// lead it outside the bytes.
TEST(Mp4BoxReader, WalksEverySizeFormAndStopsAtABadOne) {
  const std::string ftyp = header(12, "ftyp") + "isom";
  const std::string large = largeHeader(20, "mdat") + "data";
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> types;
    Mp4BoxReader::Result last;
  } cases[] = {
      {"32-bit and 64-bit sizes", ftyp + large, {"ftyp", "mdat"}, Mp4BoxReader::kEnd},
      {"size 0 runs to the end", ftyp + header(0, "udat") + "rest", {"ftyp", "udat"}, Mp4BoxReader::kEnd},
      {"size beyond the end", ftyp + header(99, "moov"), {"ftyp"}, Mp4BoxReader::kBadSize},
      {"size below the header", ftyp + header(4, "moov"), {"ftyp"}, Mp4BoxReader::kBadSize},
      {"64-bit size cut off", ftyp + header(1, "mdat") + "abc", {"ftyp"}, Mp4BoxReader::kBadSize},
      {"trailing bytes", ftyp + "abc", {"ftyp"}, Mp4BoxReader::kEnd},
  };
  for (const auto& c : cases) {
    const Walk result = walk(c.bytes);
    EXPECT_EQ(result.types, c.types) << c.name;
    EXPECT_EQ(result.last, c.last) << c.name;
  }
  EXPECT_EQ(walk(ftyp + large).offsets, (std::vector<uint64_t>{0, 12}));
}

TEST(Mp4BoxReader, BadSizeStillNamesTheType) {
  const std::string bytes = header(99, "udat");
  Mp4BoxReader reader = Mp4BoxReader::OfBytes(bytes);
  Mp4BoxReader::Box box;
  EXPECT_EQ(reader.Next(box), Mp4BoxReader::kBadSize);
  EXPECT_TRUE(box.Is("udat"));
}
