// The control's image members: which list is shown, the module-wide image-display flag, the
// standard list's size and refill, and images added or replaced from files.
#include <gtest/gtest.h>

#include "ImageBytes.h"
#include "TestSupport.h"
#include "images/ImageErrors.h"
#include "images/ImageFile.h"

namespace ramvel::test {
namespace {

constexpr Rgb kMagenta = 0xFF00FF, kGreen = 0x00FF00;

Bytes SolidIcon(std::int32_t side, Rgb colour) {
    DibLayout layout{side, side, 24, std::vector<std::uint32_t>(static_cast<std::size_t>(side) * side, colour)};
    const std::vector<std::uint8_t> opaque(layout.values.size(), 0);
    return IconFileOf({{side, side, 24, Dib(layout, &opaque)}});
}

// A bitmap whose left column is magenta, green elsewhere.
Bytes MagentaEdgedBitmap(std::int32_t side) {
    DibLayout layout{side, side, 24};
    for (std::int32_t i = 0; i < side * side; ++i) layout.values.push_back(i % side == 0 ? kMagenta : kGreen);
    return BitmapFileOf(layout);
}

class Images : public ControlTest {
protected:
    Images() {
        files.files[u"icon16.ico"] = SolidIcon(16, kGreen);
        files.files[u"icon32.ico"] = SolidIcon(32, kGreen);
        files.files[u"icon8.ico"] = SolidIcon(8, kGreen);
        files.files[u"edged16.bmp"] = MagentaEdgedBitmap(16);
        files.files[u"edged8.bmp"] = MagentaEdgedBitmap(8);
        files.files[u"my.icons/icon16.ico"] = SolidIcon(16, kGreen);
        files.files[u"empty.bmp"] = {};
        widget.imageChanges.clear();
    }

    // The counts of the standard, working and alternate lists.
    std::vector<std::int32_t> Counts() const {
        return {control.ImageList1.Count(), control.ImageList2.Count(), control.AlternateImageList.Count()};
    }
    using Change = FakeTreeWidget::ImageChange;
};

TEST_F(Images, ANewControlShowsTheStandardListAndKeepsAWorkingCopy) {
    EXPECT_EQ(control.GetImageList(), 1);
    EXPECT_TRUE(control.GetImages());
    EXPECT_EQ(widget.images, &control.ImageList1);
    EXPECT_EQ(widget.stateImages, &control.ImageList1);
    EXPECT_EQ(Counts(), (std::vector<std::int32_t>{42, 42, 87}));
    for (std::int32_t i = 0; i < 42; ++i) EXPECT_EQ(control.ImageList2.Image(i), control.ImageList1.Image(i));
}

TEST_F(Images, ImageListPutShowsTheStandardListBelowTwoAndTheAlternateAtTwo) {
    struct {
        std::int32_t put;
        std::int32_t before;  // the list shown before the put
        std::int32_t expected;
    } cases[] = {{0, 2, 1}, {1, 2, 1}, {-5, 2, 1}, {2, 1, 2}, {3, 1, 1}, {3, 2, 2}, {3, 0, 0}, {2, 0, 2}, {0, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "put " << c.put << " after " << c.before);
        if (c.before == 0) control.SetImages(0);
        else control.SetImageList(c.before);
        control.SetImageList(c.put);
        EXPECT_EQ(control.GetImageList(), c.expected);
        EXPECT_EQ(control.GetImages(), c.expected != 0);
        const ImageList* shown[] = {nullptr, &control.ImageList1, &control.AlternateImageList};
        EXPECT_EQ(widget.images, shown[c.expected]);
        EXPECT_EQ(widget.stateImages, &control.ImageList1);
    }
}

TEST_F(Images, ImagesPutSwitchesTheStandardListOrNoneAndStoresTheFlagUnchanged) {
    control.SetImageList(2);
    control.SetImages(5);
    EXPECT_EQ(control.GetImageList(), 1);
    EXPECT_EQ(Module().imageDisplay, 5);
    control.SetImages(0);
    EXPECT_EQ(control.GetImageList(), 0);
    EXPECT_FALSE(control.GetImages());
    EXPECT_EQ(widget.images, nullptr);
    EXPECT_EQ(widget.stateImages, &control.ImageList1);  // state images stay
    control.SetImageList(2);
    EXPECT_TRUE(control.GetImages());
    EXPECT_EQ(Module().imageDisplay, 0);  // ImageList put leaves the flag alone
}

TEST_F(Images, TheFlagDecidesHowLaterControlsStart) {
    for (std::int16_t flag : {std::int16_t{0}, std::int16_t{-1}, std::int16_t{1}}) {
        SCOPED_TRACE(flag);
        control.SetImages(flag);
        TMyRamvel other(messageBox, u"Ramvel.ocx");
        FakeTreeWidget otherWidget(other);
        other.AttachWidget(otherWidget);
        other.FormCreate();
        EXPECT_EQ(other.GetImageList(), flag != 0 ? 1 : 0);
        EXPECT_EQ(otherWidget.images, flag != 0 ? &other.ImageList1 : nullptr);
        EXPECT_EQ(otherWidget.stateImages, &other.ImageList1);
    }
}

TEST_F(Images, ImageSizeEmptiesTheStandardListOnlyWhenASideChanges) {
    control.imageSize(16, 16);
    EXPECT_EQ(Counts(), (std::vector<std::int32_t>{42, 42, 87}));
    EXPECT_TRUE(widget.imageChanges.empty());
    control.imageSize(32, 16);
    EXPECT_EQ(Counts(), (std::vector<std::int32_t>{0, 42, 87}));
    EXPECT_EQ(control.ImageList1.Width(), 32);
    EXPECT_EQ(widget.imageChanges, (std::vector<Change>{{&control.ImageList1, 0, false}}));
    EXPECT_EQ(control.UpdateCount(), 0);
    EXPECT_TRUE(widget.redrawOn);
}

TEST_F(Images, ImageSizeRefusesSidesOutsideOneTo1024AndChangesNothing) {
    for (auto [w, h] : {std::pair{0, 16}, {16, 0}, {-3, 16}, {32, -1}, {1025, 16}, {16, 1 << 30}}) {
        SCOPED_TRACE(testing::Message() << w << " by " << h);
        EXPECT_ERROR(control.imageSize(w, h), kEUnexpected, kInvalidImageSize);
        EXPECT_EQ(control.ImageList1.Width(), 16);
        EXPECT_EQ(control.ImageList1.Height(), 16);
        EXPECT_EQ(control.ImageList1.Count(), 42);
        EXPECT_EQ(control.UpdateCount(), 0);
        EXPECT_TRUE(widget.redrawOn);
    }
}

TEST_F(Images, ResetImagesAppendsTheStandardImagesAfterWhatTheListHolds) {
    control.resetImages();
    ASSERT_EQ(control.ImageList1.Count(), 84);
    for (std::int32_t i = 0; i < 42; ++i) EXPECT_EQ(control.ImageList1.Image(42 + i), control.ImageList1.Image(i));
    EXPECT_EQ(widget.imageChanges, (std::vector<Change>{{&control.ImageList1, 42, false}}));
    EXPECT_TRUE(widget.redrawOn);
}

TEST_F(Images, ResetImagesAtALargerSizePutsEachStandardImageInTheTopLeftQuarter) {
    control.imageSize(32, 32);
    control.resetImages();
    ASSERT_EQ(control.ImageList1.Count(), 42);
    for (std::int32_t i = 0; i < 42; ++i) {
        const Picture& cell = control.ImageList1.Image(i);
        const Picture& original = control.ImageList2.Image(i);
        ASSERT_EQ(cell.width, 32);
        for (std::int32_t y = 0; y < 32; ++y)
            for (std::int32_t x = 0; x < 32; ++x)
                ASSERT_EQ(cell.masked[cell.At(x, y)], x < 16 && y < 16 ? original.masked[original.At(x, y)] : 1);
    }
    EXPECT_EQ(control.AlternateImageList.Width(), 16);
    EXPECT_EQ(control.ImageList2.Width(), 16);
}

TEST_F(Images, ClearImagesEmptiesTheStandardListEvenWhileTheAlternateIsShown) {
    control.SetImageList(2);
    control.ClearImages();
    EXPECT_EQ(Counts(), (std::vector<std::int32_t>{0, 42, 87}));
    EXPECT_EQ(widget.images, &control.AlternateImageList);
    EXPECT_EQ(widget.imageChanges, (std::vector<Change>{{&control.ImageList1, 0, true}}));
}

TEST_F(Images, AddImageAppendsToTheShownList) {
    EXPECT_EQ(control.AddImage(u"icon16.ico"), 42);
    EXPECT_EQ(control.AddImage(u"icon32.ico"), 43);
    EXPECT_EQ(control.ImageList1.Image(43), control.ImageList1.Image(42));  // scaled down, same picture
    control.SetImageList(2);
    EXPECT_EQ(control.AddImage(u"edged16.bmp"), 87);
    EXPECT_EQ(Counts(), (std::vector<std::int32_t>{44, 42, 88}));
    EXPECT_EQ(widget.imageChanges, (std::vector<Change>{{&control.ImageList1, 42, true},
                                                        {&control.ImageList1, 43, true},
                                                        {&control.AlternateImageList, 87, true}}));
}

TEST_F(Images, ABitmapIsTransparentWhereverItHasItsBottomLeftColour) {
    const std::int32_t index = control.AddImage(u"edged16.bmp");
    const Picture& image = control.ImageList1.Image(index);
    for (std::int32_t y = 0; y < 16; ++y)
        for (std::int32_t x = 0; x < 16; ++x) ASSERT_EQ(image.masked[image.At(x, y)], x == 0);
}

TEST_F(Images, ReplaceImagePutsThePictureInPlaceAndMinusOneAppendsOnlyIcons) {
    control.ReplaceImage(3, u"icon16.ico");
    EXPECT_EQ(control.ImageList1.Image(3).pixels[0], kGreen);
    control.ReplaceImage(-1, u"icon16.ico");
    EXPECT_EQ(control.ImageList1.Count(), 43);
    EXPECT_ERROR(control.ReplaceImage(-1, u"edged16.bmp"), kEUnexpected, kCannotReplaceImage);
    EXPECT_ERROR(control.ReplaceImage(43, u"icon16.ico"), kEUnexpected, kCannotReplaceImage);
    EXPECT_EQ(control.ImageList1.Count(), 43);
    EXPECT_EQ(widget.imageChanges,
              (std::vector<Change>{{&control.ImageList1, 3, true}, {&control.ImageList1, 42, true}}));
}

TEST(ImageFileKind, IsTheTextAfterTheFirstDotInAnyLetterCase) {
    struct {
        const char16_t* name;
        bool icon;
    } cases[] = {
        {u"a.ico", true},        {u"A.ICO", true},          {u"x.Ico.bak", true},        {u"C:\\pics\\x.iCo", true},
        {u"a.bmp", false},       {u"noextension", false},   {u"my.icons\\a.ico", false}, {u"a.icon", false},
        {u".ico", true},         {u"a..ico", false},        {u"ico", true} /* no dot: the whole name */,             {u"a.ïco", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.name));
        EXPECT_EQ(IsIconFileName(c.name), c.icon);
    }
}

TEST_F(Images, FailedAddsAndReplacesLeaveEveryListAsItWas) {
    const std::u16string notFound = u"Impossible d'ouvrir le fichier \"missing.ico\". Not found";
    struct {
        const char16_t* file;
        const std::u16string& message;
    } cases[] = {
        {u"missing.ico", notFound},
        {u"icon8.ico", kInvalidImageSize},
        {u"edged8.bmp", kInvalidImageSize},
        {u"empty.bmp", kInvalidImageSize},
        {u"my.icons/icon16.ico", kInvalidBitmap},  // the first dot names the kind
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.file));
        EXPECT_ERROR(control.AddImage(c.file), kEUnexpected, c.message);
        EXPECT_ERROR(control.ReplaceImage(0, c.file), kEUnexpected, c.message);
    }
    EXPECT_EQ(Counts(), (std::vector<std::int32_t>{42, 42, 87}));
    EXPECT_EQ(control.ImageList1.Image(0), control.ImageList2.Image(0));
    EXPECT_TRUE(widget.imageChanges.empty());
}

TEST_F(Images, WithImagesOffAddAndReplaceFailBeforeReadingAnything) {
    control.SetImages(0);
    const std::u16string message = u"No image list is shown: switch images on (Images or ImageList) first.";
    EXPECT_ERROR(control.AddImage(u"missing.ico"), kEUnexpected, message);
    EXPECT_ERROR(control.ReplaceImage(0, u"icon16.ico"), kEUnexpected, message);
    EXPECT_EQ(Counts(), (std::vector<std::int32_t>{42, 42, 87}));
}

TEST_F(Images, NodeIndexesAreNotAdjustedWhenAListChanges) {
    control.AddNodes(u"0\tRoot\t40,41\t5\t3");
    control.ClearImages();
    control.imageSize(32, 32);
    EXPECT_EQ(NodeAt(0).image, 40);
    EXPECT_EQ(NodeAt(0).selectedImage, 5);
    EXPECT_EQ(NodeAt(0).StateImage(), 3);
}

}  // namespace
}  // namespace ramvel::test
