// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAAdap.h"
#include "tests/engine/TelemetryStoreInspection.h"
#include "tests/support/BoxWriter.h"
#include "tests/support/DiagnosticRecorder.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using testing_support::BoxWriter;

class UserData : public testing::Test {
protected:
  std::string write(const BoxWriter& file, const char* name = "rec.mp4") {
    const std::string path = dir.filePath(name).toStdString();
    file.writeTo(path);
    return path;
  }
  int load(const std::string& path) {
    adap.StorePaths(path.c_str(), path.c_str());
    return adap.LoadUserData();
  }
  static BoxWriter usualHead() {
    BoxWriter file;
    file.box("ftyp", {'i', 's', 'o', 'm'}).box("mdat", std::vector<uint8_t>(100, 1)).box("moov", {0, 0, 0, 0});
    return file;
  }
  // A udat box whose sub-boxes have the given types.
  static std::vector<uint8_t> udatWith(const char* first, const char* second, const char* third) {
    BoxWriter inner;
    inner.box(first, std::vector<uint8_t>(8))
        .box(second, std::vector<uint8_t>(76 * 2))
        .box(third, std::vector<uint8_t>(24));
    BoxWriter whole;
    whole.box("udat", inner.bytes());
    return whole.bytes();
  }

  QTemporaryDir dir;
  QIRAAdap adap{nullptr};
};

// The area is the udat header and its three sub-boxes, whatever follows them:
// other bytes, or the zeros a camera that preallocates its files leaves up to
// 4 GiB (a sparse file here) when it loses power.
TEST_F(UserData, AreaEndsWithItsLastSubBox) {
  const struct {
    const char* what;
    std::vector<uint8_t> trailing;
    uint64_t paddedSize;
  } cases[] = {
      {"nothing after the area", {}, 0},
      {"bytes after the area", {9, 9, 9, 9, 9}, 0},
      {"padded to 4 GiB", {}, uint64_t{4} << 30},
  };
  for (const auto& c : cases) {
    BoxWriter file = usualHead();
    const size_t udatOffset = file.bytes().size();
    const std::vector<uint8_t> udat = BoxWriter::udat(3, {"$GPRMC,1"});
    const std::string path = write(file.raw(udat).raw(c.trailing));
    if (c.paddedSize)
      std::filesystem::resize_file(path, c.paddedSize);
    const testing_support::DiagnosticRecorder diagnostics;
    EXPECT_EQ(load(path), 0) << c.what;
    const std::string out = diagnostics.text();
    const TelemetryStore::LockedArea area = TelemetryStoreInspection::Lock(adap.Telemetry());
    ASSERT_EQ(area.length, udat.size()) << c.what;
    EXPECT_EQ(std::memcmp(area.bytes, file.bytes().data() + udatOffset, udat.size()), 0) << c.what;
    char line[64];
    std::snprintf(line, sizeof line, "###Parsing udat area : sized %zx\n", udat.size());
    EXPECT_EQ(out, line) << c.what;
    EXPECT_FALSE(adap.UserDataFailed()) << c.what;
    EXPECT_EQ(adap.Telemetry().ErrorFlag(), 0) << c.what;
  }
}

// A damaged GPS sub-box whose size claims gigabytes of a padded file reads no
// more than the bound of any real area, and the area is refused as damaged.
TEST_F(UserData, DamagedSubBoxSizeReadsABoundedArea) {
  BoxWriter file = usualHead();
  std::vector<uint8_t> udat = BoxWriter::udat(3, {"$GPRMC,1"});
  const size_t gpsiSizeAt = 8 + 8 + 3 * 4; // after the udat header and the TIME box
  udat[gpsiSizeAt] = 0xF0;
  const std::string path = write(file.raw(udat));
  std::filesystem::resize_file(path, uint64_t{4} << 30);
  const testing_support::DiagnosticRecorder diagnostics;
  const int code = load(path);
  EXPECT_EQ(code, 20) << "the sensor box lies beyond the bound";
  EXPECT_EQ(TelemetryStoreInspection::Lock(adap.Telemetry()).length, size_t{64} << 20);
}

TEST_F(UserData, LocateCodesForMissingPathFileAndEmptyFile) {
  EXPECT_EQ(adap.LocateUserData(), 1);
  EXPECT_EQ(load(dir.filePath("absent.mp4").toStdString()), 2);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp4"));
  EXPECT_EQ(load(dir.filePath("folder.mp4").toStdString()), 2) << "only a regular file is read";
  EXPECT_EQ(load(write(BoxWriter())), 6);
  EXPECT_TRUE(adap.UserDataFailed());
  EXPECT_EQ(adap.Telemetry().ErrorFlag(), 1);
}

TEST_F(UserData, WalkEndsWithSevenWhenNoUdatBoxIsReached) {
  EXPECT_EQ(load(write(usualHead())), 7) << "no udat at all";
  BoxWriter sizeZero;
  sizeZero.box("ftyp", {1, 2, 3, 4}).box("mdat", std::vector<uint8_t>(16), 0).raw(BoxWriter::udat(1, {}));
  EXPECT_EQ(load(write(sizeZero)), 7) << "a size-0 box runs to the end of the file";
  BoxWriter tooSmall;
  tooSmall.box("ftyp", {1, 2, 3, 4}, 5).raw(BoxWriter::udat(1, {}));
  EXPECT_EQ(load(write(tooSmall)), 7) << "a size below 8 cannot be walked past";
  BoxWriter beyond;
  beyond.box("ftyp", {1, 2, 3, 4}, 4096).raw(BoxWriter::udat(1, {}));
  EXPECT_EQ(load(write(beyond)), 7) << "a box reaching past the end";
  BoxWriter cutHeader;
  cutHeader.box("ftyp", {1, 2, 3, 4}).raw({0, 0, 0, 9, 'u'});
  EXPECT_EQ(load(write(cutHeader)), 7) << "a header not wholly inside the file";
}

TEST_F(UserData, LargeSizeBoxesAreWalkedPast) {
  BoxWriter file;
  file.box("ftyp", {1, 2, 3, 4}).largeBox("mdat", std::vector<uint8_t>(40, 7)).raw(BoxWriter::udat(2, {}));
  EXPECT_EQ(load(write(file)), 0);
}

TEST_F(UserData, MissingOrMisorderedSubBoxesGiveParseCodes) {
  EXPECT_EQ(load(write(usualHead().raw(udatWith("GPSI", "TIME", "SENS")))), 18);
  EXPECT_EQ(load(write(usualHead().raw(udatWith("TIME", "SENS", "GPSI")))), 19);
  EXPECT_EQ(load(write(usualHead().raw(udatWith("TIME", "GPSI", "XXXX")))), 20);
  // A refused parse still counts as a load that reached the parse.
  EXPECT_FALSE(adap.UserDataFailed());
  BoxWriter headerOnly;
  headerOnly.box("udat", BoxWriter().box("TIME", std::vector<uint8_t>(4)).bytes());
  EXPECT_EQ(load(write(headerOnly)), 19) << "GPSI header beyond the area";
  QIRAUDAT detached;
  EXPECT_EQ(detached.Parse(), QIRAUDAT::kNoArea);
}

TEST_F(UserData, FailedLocateKeepsThePreviousCopyButFlagsIt) {
  ASSERT_EQ(load(write(usualHead().raw(BoxWriter::udat(2, {})))), 0);
  const size_t size = TelemetryStoreInspection::Lock(adap.Telemetry()).length;
  EXPECT_EQ(load(write(usualHead(), "other.mp4")), 7);
  EXPECT_EQ(TelemetryStoreInspection::Lock(adap.Telemetry()).length, size);
  EXPECT_TRUE(adap.UserDataFailed());
}

TEST_F(UserData, GettersReturnOnlyRecordsInsideTheCountAndTheArea) {
  ASSERT_EQ(load(write(usualHead().raw(BoxWriter::udat(4, {"$GPRMC,first"})))), 0);
  const TelemetryStore::LockedArea area = TelemetryStoreInspection::Lock(adap.Telemetry());
  QIRAUDAT& index = area.index;
  index.SetRecordCount(4);
  ASSERT_NE(index.GetGpsRecord(0), nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(index.GetGpsRecord(0)), "$GPRMC,first");
  float triple[3];
  std::memcpy(triple, index.GetSensorRecord(3), sizeof triple);
  EXPECT_EQ(triple[0], 3.0f);
  EXPECT_EQ(triple[1], -3.0f);
  EXPECT_NE(index.GetTimeRecord(3), nullptr);
  EXPECT_EQ(index.GetGpsRecord(4), nullptr);
  EXPECT_EQ(index.GetSensorRecord(4), nullptr);
  EXPECT_EQ(index.GetTimeRecord(4), nullptr);

  // A count larger than the boxes hold: records past the area are never handed out.
  index.SetRecordCount(1000);
  EXPECT_EQ(index.GetSensorRecord(4), nullptr);
  EXPECT_EQ(index.GetSensorRecord(999), nullptr);
  EXPECT_EQ(index.GetGpsRecord(0xFFFFFFFFu), nullptr);
}

TEST_F(UserData, GpsRecordsAreBoundedByTheDeclaredUdatSize) {
  BoxWriter inner;
  inner.box("TIME", std::vector<uint8_t>(8))
      .box("GPSI", std::vector<uint8_t>(76 * 2, '$'))
      .box("SENS", std::vector<uint8_t>(24));
  BoxWriter file;
  // The declared size ends inside the second GPS record.
  file.box("udat", inner.bytes(), 8 + 16 + 8 + 76 + 10);
  ASSERT_EQ(load(write(file)), 0);
  adap.Telemetry().SetRecordCount(2);
  EXPECT_NE(TelemetryStoreInspection::Lock(adap.Telemetry()).index.GetGpsRecord(0), nullptr);
  EXPECT_NE(TelemetryStoreInspection::Lock(adap.Telemetry()).index.GetGpsRecord(1), nullptr);
  BoxWriter shorter;
  shorter.box("udat", inner.bytes(), 8 + 16 + 8 + 76 + 1);
  ASSERT_EQ(load(write(shorter)), 0);
  adap.Telemetry().SetRecordCount(2);
  EXPECT_EQ(TelemetryStoreInspection::Lock(adap.Telemetry()).index.GetGpsRecord(1), nullptr);
}

} // namespace
