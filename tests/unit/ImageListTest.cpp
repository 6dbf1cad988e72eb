// The image list model: sizes, adding and replacing icons and masked bitmaps, copying lists.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "images/ImageErrors.h"
#include "images/ImageList.h"

namespace ramvel::test {
namespace {

constexpr Rgb kMagenta = 0xFF00FF;

// A w by h picture, opaque, coloured by `colour(x, y)`.
template <typename F>
Picture Paint(std::int32_t w, std::int32_t h, F colour) {
    Picture picture(w, h);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x) picture.pixels[picture.At(x, y)] = colour(x, y), picture.masked[picture.At(x, y)] = 0;
    return picture;
}

Picture Solid(std::int32_t w, std::int32_t h, Rgb colour) {
    return Paint(w, h, [=](std::int32_t, std::int32_t) { return colour; });
}

TEST(ImageList, ANewSideEmptiesTheListAndTheSameSideKeepsIt) {
    ImageList list = NumberedImages(3);
    list.SetWidth(16);
    list.SetHeight(16);
    EXPECT_EQ(list.Count(), 3);
    list.SetWidth(32);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Width(), 32);
    for (std::int32_t side : {0, -1, ImageList::kMaxSide + 1}) {
        SCOPED_TRACE(side);
        ImageList kept = NumberedImages(3);
        EXPECT_ERROR(kept.SetWidth(side), kEUnexpected, kInvalidImageSize);
        EXPECT_ERROR(kept.SetHeight(side), kEUnexpected, kInvalidImageSize);
        EXPECT_EQ(kept.Count(), 3);
        EXPECT_EQ(kept.Width(), 16);
    }
}

TEST(ImageList, IconsAreScaledDownToTheListSize) {
    ImageList list(2, 2);
    // 4 by 4: left half transparent, right half red and blue checks of 2 by 2 pixels.
    Picture icon = Paint(4, 4, [](std::int32_t x, std::int32_t y) { return (x + y) % 2 ? Rgb{0xFF0000} : Rgb{0x0000FF}; });
    for (std::int32_t y = 0; y < 4; ++y) icon.masked[icon.At(0, y)] = icon.masked[icon.At(1, y)] = 1;
    EXPECT_EQ(list.AddIcon(icon), 0);
    const Picture& image = list.Image(0);
    EXPECT_EQ(image.masked, (std::vector<std::uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(image.pixels[1], Rgb{0x7F007F});  // the mean of red and blue
    EXPECT_EQ(list.AddIcon(Solid(2, 2, kMagenta)), 1);
    EXPECT_EQ(list.Image(1), Solid(2, 2, kMagenta));
}

TEST(ImageList, PicturesSmallerThanTheListAreRefusedAndChangeNothing) {
    ImageList list = NumberedImages(2);
    const Picture narrow = Solid(8, 16, kMagenta), low = Solid(16, 8, kMagenta);
    for (const Picture* picture : {&narrow, &low}) {
        EXPECT_ERROR(list.AddIcon(*picture), kEUnexpected, kInvalidImageSize);
        EXPECT_ERROR(list.AddMasked(*picture, kMagenta), kEUnexpected, kInvalidImageSize);
        EXPECT_ERROR(list.ReplaceIcon(0, *picture), kEUnexpected, kInvalidImageSize);
        EXPECT_ERROR(list.ReplaceIcon(-1, *picture), kEUnexpected, kInvalidImageSize);
        EXPECT_ERROR(list.ReplaceMasked(0, *picture, kMagenta), kEUnexpected, kInvalidImageSize);
    }
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Image(0), NumberedImages(1).Image(0));
}

TEST(ImageList, MaskedBitmapsGiveOneImagePerListWidthAndMaskTheirColour) {
    ImageList list = NumberedImages(1, 2);
    // 5 by 3: columns 0-1 and 2-3 make two images from the top two rows; column 4 is left over.
    const Picture strip = Paint(5, 3, [](std::int32_t x, std::int32_t y) { return (x + y) % 3 == 0 ? kMagenta : Rgb(x); });
    EXPECT_EQ(list.AddMasked(strip, kMagenta), 1);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Image(1).pixels, (std::vector<Rgb>{kMagenta, 1, 0, 1}));
    EXPECT_EQ(list.Image(1).masked, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(list.Image(2).pixels, (std::vector<Rgb>{2, kMagenta, kMagenta, 3}));
    EXPECT_EQ(list.Image(2).masked, (std::vector<std::uint8_t>{0, 1, 1, 0}));
}

TEST(ImageList, ReplaceTakesAnIndexOfTheListAndIconsAlsoMinusOne) {
    ImageList list = NumberedImages(2);
    const Picture big = Solid(32, 32, kMagenta);
    list.ReplaceIcon(1, big);
    EXPECT_EQ(list.Image(1), Solid(16, 16, kMagenta));
    list.ReplaceIcon(-1, big);
    EXPECT_EQ(list.Count(), 3);
    list.ReplaceMasked(0, Paint(20, 20, [](std::int32_t x, std::int32_t) { return x < 8 ? kMagenta : Rgb{1}; }), kMagenta);
    EXPECT_EQ(list.Image(0).masked[0], 1);
    EXPECT_EQ(list.Image(0).pixels[15], Rgb{1});
    for (std::int32_t index : {-2, 3, 1000}) {
        SCOPED_TRACE(index);
        EXPECT_ERROR(list.ReplaceIcon(index, big), kEUnexpected, kCannotReplaceImage);
        EXPECT_ERROR(list.ReplaceMasked(index, big, kMagenta), kEUnexpected, kCannotReplaceImage);
    }
    EXPECT_ERROR(list.ReplaceMasked(-1, big, kMagenta), kEUnexpected, kCannotReplaceImage);
    EXPECT_EQ(list.Count(), 3);
}

TEST(ImageList, AppendedImagesSitUnscaledInTheTopLeftOfTransparentCells) {
    const ImageList source = NumberedImages(2, 16);
    struct {
        std::int32_t side;
    } cases[] = {{32}, {16}, {8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.side);
        ImageList list = NumberedImages(1, c.side, 0x300000);
        list.AppendImagesOf(source);
        ASSERT_EQ(list.Count(), 3);
        const Picture& cell = list.Image(2);
        ASSERT_EQ(cell.width, c.side);
        for (std::int32_t y = 0; y < c.side; ++y) {
            for (std::int32_t x = 0; x < c.side; ++x) {
                const bool inside = x < 16 && y < 16;
                ASSERT_EQ(cell.masked[cell.At(x, y)], inside ? source.Image(1).masked[source.Image(1).At(x, y)] : 1)
                    << x << "," << y;
                if (inside && x > 0) {
                    ASSERT_EQ(cell.pixels[cell.At(x, y)], source.Image(1).pixels[0]);
                }
            }
        }
    }
    ImageList itself = NumberedImages(2);
    itself.AppendImagesOf(itself);
    EXPECT_EQ(itself.Count(), 4);
    EXPECT_EQ(itself.Image(3), itself.Image(1));
}

}  // namespace
}  // namespace ramvel::test
