// Reading bitmap files: every pixel depth and row order real files use, and every way a file
// can be short or wrong.
#include <gtest/gtest.h>

#include "ImageBytes.h"
#include "TestSupport.h"
#include "images/BitmapFile.h"
#include "images/ImageErrors.h"

namespace ramvel::test {
namespace {

constexpr Rgb kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;
constexpr Rgb kMagenta = 0xFF00FF, kGrey = 0x808080;

struct ValidCase {
    const char* name;
    DibLayout layout;
    std::vector<Rgb> expected;  // row by row from the top
    Rgb transparent;
};

TEST(BitmapFile, ReadsEveryDepthAndRowOrder) {
    const std::vector<Rgb> four = {kRed, kGreen, kBlue, kWhite};
    const ValidCase cases[] = {
        {"24 bits, bottom-up", {2, 2, 24, four}, four, kBlue},
        {"24 bits, top-down", {2, 2, 24, four, {}, true}, four, kBlue},
        {"24 bits, odd width pads rows", {3, 1, 24, {kRed, kGreen, kBlue}}, {kRed, kGreen, kBlue}, kRed},
        {"32 bits, fourth byte ignored", {2, 1, 32, {0xFF000000 | kRed, 0x12000000 | kGreen}}, {kRed, kGreen}, kRed},
        {"16 bits, 5-5-5", {2, 2, 16, four}, four, kBlue},
        {"16 bits, 5-6-5 masks after the header", {2, 2, 16, four, {}, false, 40, true}, four, kBlue},
        {"16 bits, 5-6-5 masks in a version 5 header", {2, 2, 16, four, {}, false, 124, true}, four, kBlue},
        {"8 bits, short palette, index past it is black", {2, 2, 8, {0, 1, 2, 200}, {kGrey, kMagenta, kBlue}},
         {kGrey, kMagenta, kBlue, kBlack}, kBlue},
        {"4 bits, odd width", {3, 1, 4, {15, 0, 7}, std::vector<Rgb>(16, kGrey)}, {kGrey, kGrey, kGrey}, kGrey},
        {"1 bit, row across a byte, white is transparent", {9, 1, 1, {0, 1, 0, 1, 0, 1, 0, 1, 1}, {kBlack, kGreen}},
         {kBlack, kGreen, kBlack, kGreen, kBlack, kGreen, kBlack, kGreen, kGreen}, kWhite},
        {"1 bit, core header with 3-byte palette", {2, 1, 1, {1, 0}, {kRed, kMagenta}, false, 12}, {kMagenta, kRed}, kWhite},
        {"24 bits, version 5 header", {1, 2, 24, {kGreen, kMagenta}, {}, false, 124}, {kGreen, kMagenta}, kMagenta},
        // Masks wider than 24 bits count by their top 24; the scaling never overflows.
        {"32 bits, 32-bit red mask at half and full scale",
         {2, 1, 32, {0x7FFFFFFF, 0xFFFFFFFF}, {}, false, 40, false, {0xFFFFFFFF, 0, 0}}, {0x7F0000, kRed}, 0x7F0000},
        {"32 bits, 30-bit blue mask in a version 5 header",
         {2, 1, 32, {0x20000000, 0x3FFFFFFF}, {}, false, 124, false, {0, 0, 0x3FFFFFFF}}, {0x00007F, kBlue}, 0x00007F},
        {"32 bits, 24-bit green mask in the middle",
         {2, 1, 32, {0x08000000, 0x0FFFFFF0}, {}, false, 40, false, {0, 0x0FFFFFF0, 0}}, {0x007F00, kGreen}, 0x007F00},
        {"32 bits, 8-8-8 masks in the top bytes",
         {2, 1, 32, {0x12345600, 0xFFFFFF00}, {}, false, 40, false, {0xFF000000, 0x00FF0000, 0x0000FF00}},
         {0x123456, kWhite}, 0x123456},
        {"32 bits, one-bit masks",
         {2, 1, 32, {0xA0000000, 0x40000000}, {}, false, 40, false, {0x80000000, 0x40000000, 0x20000000}},
         {kMagenta, kGreen}, kMagenta},
        {"16 bits, 16-bit red mask at half scale",
         {2, 1, 16, {0x8000, 0xFFFF}, {}, false, 40, false, {0xFFFF, 0, 0}}, {0x7F0000, kRed}, 0x7F0000},
    };
    for (const ValidCase& c : cases) {
        SCOPED_TRACE(c.name);
        const BitmapFile file = ReadBitmapFile(BitmapFileOf(c.layout));
        EXPECT_EQ(file.picture.width, c.layout.width);
        EXPECT_EQ(file.picture.height, c.layout.height);
        EXPECT_EQ(file.picture.pixels, c.expected);
        EXPECT_EQ(file.picture.masked, std::vector<std::uint8_t>(c.expected.size(), 0));
        EXPECT_EQ(file.transparent, c.transparent);
    }
}

TEST(BitmapFile, ZeroBytesReadAsAnEmptyPicture) {
    const BitmapFile file = ReadBitmapFile({});
    EXPECT_TRUE(file.picture.Empty());
}

TEST(BitmapFile, RefusesShortAndMalformedFiles) {
    const Bytes good = BitmapFileOf({2, 2, 24, {kRed, kGreen, kBlue, kWhite}});
    auto with = [&](auto change) {
        Bytes bytes = good;
        change(bytes);
        return bytes;
    };
    struct {
        const char* name;
        Bytes bytes;
        const std::u16string& message;
    } cases[] = {
        {"one byte", Bytes{'B'}, kStreamReadError},
        {"13 bytes", Bytes(good.begin(), good.begin() + 13), kStreamReadError},
        {"no BM", with([](Bytes& b) { b[0] = 'M', b[1] = 'B'; }), kInvalidBitmap},
        {"header cut short", Bytes(good.begin(), good.begin() + 30), kStreamReadError},
        {"header of unknown size", with([](Bytes& b) { Put32(b, 14, 20); }), kInvalidBitmap},
        {"zero width", with([](Bytes& b) { Put32(b, 18, 0); }), kInvalidBitmap},
        {"negative width", with([](Bytes& b) { Put32(b, 18, static_cast<std::uint32_t>(-2)); }), kInvalidBitmap},
        {"zero height", with([](Bytes& b) { Put32(b, 22, 0); }), kInvalidBitmap},
        {"3 bits per pixel", with([](Bytes& b) { Put16(b, 28, 3); }), kInvalidBitmap},
        {"run-length compression", with([](Bytes& b) { Put32(b, 30, 1); }), kInvalidBitmap},
        {"colour masks at 24 bits", with([](Bytes& b) { Put32(b, 30, 3); }), kInvalidBitmap},
        {"more than 256 palette colours", with([](Bytes& b) { Put32(b, 46, 300); }), kInvalidBitmap},
        {"palette past the end", with([](Bytes& b) { Put16(b, 28, 8), Put32(b, 46, 200); }), kStreamReadError},
        {"pixels cut short", Bytes(good.begin(), good.end() - 1), kStreamReadError},
        {"pixel offset past the end", with([](Bytes& b) { Put32(b, 10, 100000); }), kStreamReadError},
        {"pixel offset inside the header", with([](Bytes& b) { Put32(b, 10, 20); }), kInvalidBitmap},
        {"huge declared size", with([](Bytes& b) { Put32(b, 18, 100000), Put32(b, 22, 100000); }), kInvalidBitmap},
        {"large declared size without its pixels", with([](Bytes& b) { Put32(b, 18, 4000), Put32(b, 22, 4000); }),
         kStreamReadError},
        {"height of the most negative number", with([](Bytes& b) { Put32(b, 22, 0x80000000); }), kInvalidBitmap},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_ERROR(ReadBitmapFile(c.bytes), kEUnexpected, c.message);
    }
}

}  // namespace
}  // namespace ramvel::test
