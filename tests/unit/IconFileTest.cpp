// Reading icon files: bitmap entries of every depth with their AND masks, 32-bit alpha, PNG
// entries, the choice among several entries, and every way a file can be short or wrong.
#include <gtest/gtest.h>

#include "ImageBytes.h"
#include "TestSupport.h"
#include "images/IconFile.h"
#include "images/ImageErrors.h"

namespace ramvel::test {
namespace {

constexpr Rgb kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

std::vector<std::uint8_t> LeftHalfMasked(std::int32_t side) {
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(side) * side);
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = static_cast<std::int32_t>(i % side) < side / 2;
    return mask;
}

// A square bitmap entry of one colour whose left half is transparent by its AND mask.
IconEntry SolidEntry(std::int32_t side, int bitCount, Rgb colour) {
    DibLayout layout{side, side, bitCount};
    const bool indexed = bitCount <= 8;
    if (indexed) layout.palette = {0, colour};
    layout.values.assign(static_cast<std::size_t>(side) * side, indexed ? 1 : colour);
    const std::vector<std::uint8_t> mask = LeftHalfMasked(side);
    return {side, side, bitCount, Dib(layout, &mask)};
}

TEST(IconFile, ReadsBitmapEntriesOfEveryDepthThroughTheirMasks) {
    for (int bitCount : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bitCount);
        const Picture picture = ReadIconFile(IconFileOf({SolidEntry(16, bitCount, kGreen)}), 16, 16);
        ASSERT_EQ(picture.width, 16);
        ASSERT_EQ(picture.height, 16);
        EXPECT_EQ(picture.pixels, std::vector<Rgb>(256, kGreen));
        EXPECT_EQ(picture.masked, LeftHalfMasked(16));
    }
}

TEST(IconFile, ThirtyTwoBitEntriesWithAlphaUseItInsteadOfTheMask) {
    // Top row half opaque by alpha; the AND mask says everything is opaque.
    DibLayout layout{2, 2, 32, {0xFF000000 | kRed, 0x7F000000 | kRed, 0x80000000 | kBlue, 0x00000000 | kBlue}};
    const std::vector<std::uint8_t> opaque(4, 0);
    const Picture picture = ReadIconFile(IconFileOf({{2, 2, 32, Dib(layout, &opaque)}}), 2, 2);
    EXPECT_EQ(picture.pixels, (std::vector<Rgb>{kRed, kRed, kBlue, kBlue}));
    EXPECT_EQ(picture.masked, (std::vector<std::uint8_t>{0, 1, 0, 1}));
}

TEST(IconFile, ReadsPngEntries) {
    const Bytes png = Png(2, 2, {0xFF000000 | kRed, 0x00000000 | kGreen, 0x80000000 | kBlue, 0xFF000000 | kWhite});
    const Picture picture = ReadIconFile(IconFileOf({{2, 2, 32, png}}), 2, 2);
    EXPECT_EQ(picture.pixels, (std::vector<Rgb>{kRed, kGreen, kBlue, kWhite}));
    EXPECT_EQ(picture.masked, (std::vector<std::uint8_t>{0, 1, 0, 0}));
}

TEST(IconFile, PicksTheSmallestEntryAtLeastTheListSizeElseTheLargest) {
    struct Option {
        std::int32_t side;
        int bitCount;
    };
    struct {
        const char* name;
        std::vector<Option> entries;
        std::int32_t listSide;
        std::size_t expected;  // index into entries
    } cases[] = {
        {"exact size", {{32, 32}, {16, 32}, {48, 32}}, 16, 1},
        {"next larger", {{16, 32}, {48, 32}, {32, 32}}, 20, 2},
        {"none large enough: the largest", {{16, 32}, {48, 32}, {32, 32}}, 64, 1},
        {"same size: the deepest colours", {{16, 8}, {16, 32}, {16, 4}}, 16, 1},
        {"256 pixels written as 0", {{256, 32}, {48, 32}}, 100, 0},
    };
    const Rgb colours[] = {kRed, kGreen, kBlue};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<IconEntry> entries;
        for (std::size_t i = 0; i < c.entries.size(); ++i)
            entries.push_back(SolidEntry(c.entries[i].side, c.entries[i].bitCount, colours[i]));
        const Picture picture = ReadIconFile(IconFileOf(entries), c.listSide, c.listSide);
        EXPECT_EQ(picture.width, c.entries[c.expected].side);
        EXPECT_EQ(picture.pixels.back(), colours[c.expected]);
    }
}

TEST(IconFile, RefusesShortAndMalformedFiles) {
    const Bytes good = IconFileOf({SolidEntry(16, 24, kGreen)});
    constexpr std::size_t kEntry = 6, kData = 22;  // the directory entry; the bitmap header
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
        {"zero bytes", Bytes{}, kStreamReadError},
        {"five bytes", Bytes(good.begin(), good.begin() + 5), kStreamReadError},
        {"a cursor file", with([](Bytes& b) { Put16(b, 2, 2); }), kInvalidIcon},
        {"reserved word set", with([](Bytes& b) { Put16(b, 0, 1); }), kInvalidIcon},
        {"no entries", with([](Bytes& b) { Put16(b, 4, 0); }), kInvalidIcon},
        {"directory past the end", with([](Bytes& b) { Put16(b, 4, 5000); }), kInvalidIcon},
        {"entry offset past the end", with([&](Bytes& b) { Put32(b, kEntry + 12, 1u << 30); }), kInvalidIcon},
        {"entry size past the end", with([&](Bytes& b) { Put32(b, kEntry + 8, 0xFFFFFFF0); }), kInvalidIcon},
        {"entry data is not a bitmap", with([&](Bytes& b) { Put32(b, kData, 7); }), kInvalidIcon},
        {"zero width", with([&](Bytes& b) { Put32(b, kData + 4, 0); }), kInvalidIcon},
        {"negative height", with([&](Bytes& b) { Put32(b, kData + 8, static_cast<std::uint32_t>(-32)); }), kInvalidIcon},
        {"huge declared size", with([&](Bytes& b) { Put32(b, kData + 4, 1u << 20), Put32(b, kData + 8, 1u << 21); }),
         kInvalidIcon},
        {"AND mask missing", with([&](Bytes& b) {
             b.resize(b.size() - 16 * 4);  // 16 mask rows of 4 bytes
             Put32(b, kEntry + 8, static_cast<std::uint32_t>(b.size() - kData));
         }),
         kInvalidIcon},
        {"corrupt PNG", IconFileOf({{16, 16, 32, Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}}}),
         kInvalidIcon},
        {"PNG with a chunk longer than the file", [] {
             Bytes png = Png(2, 2, std::vector<std::uint32_t>(4, 0xFF000000));
             const std::uint8_t twoGigabytes[] = {0x7F, 0xFF, 0xFF, 0xF0};  // big-endian length of the chunk after IHDR
             std::copy(std::begin(twoGigabytes), std::end(twoGigabytes), png.begin() + 33);
             return IconFileOf({{2, 2, 32, png}});
         }(),
         kInvalidIcon},
        {"PNG without its closing chunk", [] {
             Bytes png = Png(2, 2, std::vector<std::uint32_t>(4, 0xFF000000));
             png.resize(png.size() - 12);
             return IconFileOf({{2, 2, 32, png}});
         }(),
         kInvalidIcon},
        {"PNG of a huge declared size", [] {
             Bytes png = Png(1, 1, {0xFF000000});
             Put32(png, 16, 0x00800000), Put32(png, 20, 0x00800000);  // big-endian width, height fields
             return IconFileOf({{16, 16, 32, png}});
         }(),
         kInvalidIcon},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_ERROR(ReadIconFile(c.bytes, 16, 16), kEUnexpected, c.message);
    }
}

}  // namespace
}  // namespace ramvel::test
