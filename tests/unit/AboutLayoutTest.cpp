// The about dialog's stored layout: its links, and how it scales with the screen's density.
#include <gtest/gtest.h>

#include "about/AboutLayout.h"

namespace ramvel::test {
namespace {

TEST(AboutLayout, LinksOpenTheWebAddressAndAMailtoOfTheContactAddress) {
    const AboutLayout layout = StoredAboutLayout();
    const AboutComponent& web = layout.Find(u"ProUrlLabel1");
    const AboutComponent& mail = layout.Find(u"ProUrlLabel2");
    EXPECT_EQ(web.caption, kMakerWebAddress);
    EXPECT_EQ(web.url, u"");  // a click opens the caption
    EXPECT_EQ(mail.caption, kMakerEmailAddress);
    EXPECT_EQ(mail.url, u"mailto:" + std::u16string(kMakerEmailAddress));
    EXPECT_EQ(layout.Find(u"Image_Kelto").hint, kMakerWebAddress);
    EXPECT_FALSE(layout.Find(u"d64").visible);  // stored hidden; the dialog's creation shows it
    EXPECT_EQ(layout.Find(u"d64").caption, sizeof(void*) == 4 ? u"32bit version" : u"64bit version");
    EXPECT_NE(layout.Find(u"CopyrightLbl").caption.find(u'&'), std::u16string::npos);
}

TEST(AboutLayout, ScalesPositionsSizesAndFontHeightsWithTheScreen) {
    struct {
        std::int32_t pixelsPerInch;
        std::int32_t clientWidth, clientHeight;
        std::int32_t d64Left, d64Top, d64Width, d64FontHeight;
        std::int32_t okLeft, okTop, okWidth, okHeight;
    } cases[] = {
        {96, 454, 248, 272, 92, 165, -27, 378, 211, 64, 26},
        {120, 568, 310, 340, 115, 206, -34, 473, 264, 80, 33},  // 27 * 1.25 = 33.75
        {144, 681, 372, 408, 138, 248, -41, 567, 317, 96, 39},  // halves round away from zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixelsPerInch);
        const AboutLayout layout = ScaledAboutLayout(c.pixelsPerInch);
        EXPECT_EQ(layout.pixelsPerInch, c.pixelsPerInch);
        EXPECT_EQ(layout.clientWidth, c.clientWidth);
        EXPECT_EQ(layout.clientHeight, c.clientHeight);
        const AboutComponent& d64 = layout.Find(u"d64");
        EXPECT_EQ(d64.left, c.d64Left);
        EXPECT_EQ(d64.top, c.d64Top);
        EXPECT_EQ(d64.width, c.d64Width);
        EXPECT_EQ(d64.font.height, c.d64FontHeight);
        EXPECT_EQ(d64.font.pixelsPerInch, c.pixelsPerInch);
        const AboutComponent& ok = layout.Find(u"OkBtn");
        EXPECT_EQ(ok.left, c.okLeft);
        EXPECT_EQ(ok.top, c.okTop);
        EXPECT_EQ(ok.width, c.okWidth);
        EXPECT_EQ(ok.height, c.okHeight);
        EXPECT_EQ(layout.components.size(), StoredAboutLayout().components.size());
    }
}

}  // namespace
}  // namespace ramvel::test
