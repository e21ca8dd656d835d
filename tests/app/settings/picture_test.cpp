// Picture pairs: header checks, colour counts, image sizes, palette order,
// and every size checked against the data really there.
#include <gtest/gtest.h>

#include "app/settings/picture.h"
#include "app/settings/record_codec.h"
#include "tests/app/settings/bitmap_builder.h"
#include "tests/app/settings/temp_home.h"

namespace kesta::settings {
namespace {

using testing::BitmapSpec;
using testing::makeBitmap;

Picture decode(const testing::BitmapPair& p) { return decodePicture(p.mir, p.dat); }

TEST(PictureDecode, EightBitPictureWithFullTable) {
  auto pair = makeBitmap({});
  Picture pic = decode(pair);
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.width, 4);
  EXPECT_EQ(pic.height, 2);
  EXPECT_EQ(pic.colourCount, 256u);
  EXPECT_EQ(pic.imageSize, 8u);
  EXPECT_EQ(pic.colourTableOffset, 40u);
  EXPECT_EQ(pic.bitsOffset, 40u + 1024u);
  ASSERT_EQ(pic.bits().size(), 8u);
  EXPECT_EQ(pic.bits()[5], 5);
  EXPECT_EQ(std::vector<std::uint8_t>(pic.fileHeader.begin(), pic.fileHeader.end()), pair.mir);
}

TEST(PictureDecode, ImageSizeAndColourCountAreWrittenBackIntoTheHeader) {
  Picture pic = decode(makeBitmap({}));
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(loadUInt32(pic.dib, 20), 8u);    // image size
  EXPECT_EQ(loadUInt32(pic.dib, 32), 256u);  // colours used
}

TEST(PictureDecode, ColoursUsedFieldWinsOverTheBitCount) {
  BitmapSpec s;
  s.coloursUsed = 16;
  s.tableEntries = 16;
  Picture pic = decode(makeBitmap(s));
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.colourCount, 16u);
  EXPECT_EQ(pic.bitsOffset, 40u + 64u);
  EXPECT_EQ(pic.bits()[0], 0);
  EXPECT_EQ(pic.bits()[7], 7);
  EXPECT_EQ(loadUInt32(pic.dib, 32), 16u);
}

TEST(PictureDecode, PaletteIsInPaletteOrderWithBlackBeyondTheColourCount) {
  BitmapSpec s;
  s.bitCount = 4;
  s.tableEntries = 16;
  s.width = 8;
  s.bitsBytes = 8;  // two rows of four bytes
  Picture pic = decode(makeBitmap(s));
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.colourCount, 16u);
  EXPECT_EQ(pic.palette[0], (PaletteEntry{0, 255, 0, 0}));
  EXPECT_EQ(pic.palette[10], (PaletteEntry{5, 245, 10, 0}));  // red = 10/2, green = 255-10, blue = 10
  EXPECT_EQ(pic.palette[15], (PaletteEntry{7, 240, 15, 0}));
  EXPECT_EQ(pic.palette[16], PaletteEntry{});
  EXPECT_EQ(pic.palette[255], PaletteEntry{});
}

TEST(PictureDecode, TrueColourPictureHasNoTable) {
  BitmapSpec s;
  s.bitCount = 24;
  s.width = 3;
  s.height = 2;
  s.tableEntries = 0;
  s.bitsBytes = 24;  // rows of 9 bytes padded to 12
  Picture pic = decode(makeBitmap(s));
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.colourCount, 0u);
  EXPECT_EQ(pic.bitsOffset, 40u);
  EXPECT_EQ(pic.imageSize, 24u);
  EXPECT_EQ(loadUInt32(pic.dib, 32), 0u);
  for (const auto& e : pic.palette) EXPECT_EQ(e, PaletteEntry{});
}

TEST(PictureDecode, ImageSizeFieldIsKeptWhenGiven) {
  BitmapSpec s;
  s.imageSizeField = 8;
  s.bitsBytes = 12;
  Picture pic = decode(makeBitmap(s));
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.imageSize, 8u);
}

TEST(PictureDecode, TopDownPictureIsAccepted) {
  BitmapSpec s;
  s.height = -2;
  Picture pic = decode(makeBitmap(s));
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.height, -2);
  EXPECT_EQ(pic.imageSize, 8u);
}

TEST(PictureDecode, RunLengthPictureNeedsItsImageSize) {
  BitmapSpec s;
  s.compression = 1;
  s.bitsBytes = 6;
  EXPECT_TRUE(decode(makeBitmap(s)).empty());
  s.imageSizeField = 6;
  Picture pic = decode(makeBitmap(s));
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.imageSize, 6u);
}

// ---- pairs that do not add up ----

TEST(PictureDecode, HeaderNotStartingWithBmIsEmpty) {
  auto pair = makeBitmap({});
  pair.mir[0] = 'M';
  pair.mir[1] = 'B';
  EXPECT_TRUE(decode(pair).empty());
  EXPECT_FALSE(pictureDataLength(pair.mir).has_value());
}

TEST(PictureDecode, ShortMirIsEmpty) {
  auto pair = makeBitmap({});
  pair.mir.resize(13);
  EXPECT_TRUE(decode(pair).empty());
}

TEST(PictureDecode, DatShorterThanTheHeaderSaysIsEmpty) {
  auto pair = makeBitmap({});
  pair.dat.pop_back();
  EXPECT_TRUE(decode(pair).empty());
}

TEST(PictureDecode, DatLongerThanTheHeaderSaysIsTakenUpToTheSize) {
  auto pair = makeBitmap({});
  std::size_t want = pair.dat.size();
  pair.dat.resize(want + 100, 0xEE);
  Picture pic = decode(pair);
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.dib.size(), want);
}

TEST(PictureDecode, PixelBitsMissingFromTheDataIsEmpty) {
  BitmapSpec s;
  s.bitsBytes = 7;  // 4x2 at 8 bits needs 8
  EXPECT_TRUE(decode(makeBitmap(s)).empty());
}

TEST(PictureDecode, ColourTableRunningPastTheDataIsEmpty) {
  BitmapSpec s;
  s.coloursUsed = 100000;
  EXPECT_TRUE(decode(makeBitmap(s)).empty());
}

TEST(PictureDecode, ColourCountLeavingNoRoomForBitsIsEmpty) {
  BitmapSpec s;
  s.coloursUsed = 258;  // the table eats the 8 pixel bytes
  EXPECT_TRUE(decode(makeBitmap(s)).empty());
}

TEST(PictureDecode, ImageSizeFieldLargerThanTheBitsIsEmpty) {
  BitmapSpec s;
  s.imageSizeField = 9;
  EXPECT_TRUE(decode(makeBitmap(s)).empty());
}

TEST(PictureDecode, InformationHeaderSizeOutsideTheDataIsEmpty) {
  auto pair = makeBitmap({});
  storeUInt32(pair.dat, 0, 0x7FFFFFFF);
  EXPECT_TRUE(decode(pair).empty());
  storeUInt32(pair.dat, 0, 12);  // too small to hold the fields read
  EXPECT_TRUE(decode(pair).empty());
}

TEST(PictureDecode, ImpossibleDimensionsAreEmpty) {
  for (auto [w, h] : std::vector<std::pair<std::int32_t, std::int32_t>>{
           {0, 2}, {-4, 2}, {4, 0}, {0x40000000, 2}, {4, 0x40000000}, {4, INT32_MIN}}) {
    BitmapSpec s;
    s.width = w;
    s.height = h;
    EXPECT_TRUE(decode(makeBitmap(s)).empty()) << w << "x" << h;
  }
}

TEST(PictureDecode, UnknownBitCountOrCompressionIsEmpty) {
  BitmapSpec s;
  s.bitCount = 7;
  EXPECT_TRUE(decode(makeBitmap(s)).empty());
  s = {};
  s.compression = 3;
  EXPECT_TRUE(decode(makeBitmap(s)).empty());
}

TEST(PictureDecode, FileSizeFieldBelowTheHeadersOrHugeIsEmpty) {
  auto pair = makeBitmap({});
  storeUInt32(pair.mir, 2, 10);  // less than the 14-byte header itself
  EXPECT_TRUE(decode(pair).empty());
  storeUInt32(pair.mir, 2, 0xFFFFFFFF);
  EXPECT_FALSE(pictureDataLength(pair.mir).has_value());
  EXPECT_TRUE(decode(pair).empty());
}

// ---- loading from files ----

// Remembers which files were asked for.
class RecordingStore : public HostFileStore {
 public:
  std::optional<Bytes> readPrefix(const std::string& path, std::size_t max) override {
    asked.push_back(path);
    return HostFileStore::readPrefix(path, max);
  }
  std::vector<std::string> asked;
};

class PictureFiles : public testing::TempHome {
 protected:
  void putPair(const std::string& stem, const testing::BitmapPair& p) {
    putFile(stem + ".mir", p.mir);
    putFile(stem + ".dat", p.dat);
  }
};

TEST_F(PictureFiles, LoadsTheLogoPair) {
  auto pair = makeBitmap({});
  putPair("kesta", pair);
  Picture pic = loadPicture(files_, kLogoPicture);
  ASSERT_FALSE(pic.empty());
  EXPECT_EQ(pic.bits().size(), 8u);
}

TEST_F(PictureFiles, MirNotStartingWithBmGivesAnEmptyPictureWithoutReadingTheDat) {
  auto pair = makeBitmap({});
  pair.mir[0] = 'X';
  putPair("kestaex", pair);
  RecordingStore store;
  SettingsFiles files(profile_, store);
  EXPECT_TRUE(loadPicture(files, kWelcomePicture).empty());
  ASSERT_EQ(store.asked.size(), 1u);
  EXPECT_EQ(store.asked[0], files.homeDirectory() + "\\kestaex.mir");
}

TEST_F(PictureFiles, MissingFilesGiveAnEmptyPicture) {
  EXPECT_TRUE(loadPicture(files_, kFailedPortPicture).empty());
  putFile("mport.mir", makeBitmap({}).mir);
  EXPECT_TRUE(loadPicture(files_, kFailedPortPicture).empty());
}

}  // namespace
}  // namespace kesta::settings
