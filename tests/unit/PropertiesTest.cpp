// The properties of the tree and of the form: initial values, the rules of each put, and what
// reaches the form window.
#include <functional>

#include "FakeFormWindow.h"
#include "TestSupport.h"

namespace ramvel::test {
namespace {

class Properties : public ControlTest {
protected:
    Properties() {
        control.AttachFormWindow(form);
        form.applied.clear();
    }
    FakeFormWindow form;
};

TEST_F(Properties, ANewFormStartsWithItsStoredSettings) {
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeFormWindow otherForm;
    other.AttachFormWindow(otherForm);
    EXPECT_EQ(otherForm.applied, (std::vector<std::string>{"font MS Sans Serif -11", "colour 4278190095", "caption MyRamvel",
                                                           "border 1"}));
    EXPECT_EQ(other.GetFontName(), u"MS Sans Serif");
    EXPECT_EQ(other.GetFontSize(), 8);
    EXPECT_EQ(other.GetColor(), 0xFF00000Fu);
    EXPECT_EQ(other.GetCaption(), u"MyRamvel");
    EXPECT_EQ(other.GetAxBorderStyle(), 1);
    EXPECT_EQ(other.GetPrintScale(), 1);
    EXPECT_EQ(other.GetBiDiMode(), 0);
    EXPECT_EQ(other.GetCursor(), 0);
    EXPECT_TRUE(other.GetEnabled());
    EXPECT_TRUE(other.GetScaled());
    EXPECT_EQ(other.GetPixelsPerInch(), 96);
    EXPECT_FALSE(other.GetAutoScroll() || other.GetAutoSize() || other.GetDropTarget() || other.GetDoubleBuffered() ||
                 other.GetKeyPreview());
    EXPECT_EQ(other.GetHelpFile(), u"");
}

TEST_F(Properties, OnADenserScreenTheFontKeepsItsSizeInPoints) {
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeFormWindow dense(120);
    other.AttachFormWindow(dense);
    EXPECT_EQ(other.FormFont().height, -14);
    EXPECT_EQ(other.GetFontSize(), 8);
    EXPECT_EQ(other.GetPixelsPerInch(), 120);
}

TEST_F(Properties, EachTreeSwitchChangesItsOwnStyleOnlyWhenItChanges) {
    control.AddNodes(u"0\tA\n1\tB");
    control.SetExpanded(HandleAt(0), true);
    control.GoToNode(1);
    control.SetLines(false);
    control.SetLines(false);
    control.SetButtons(false);
    control.SetTrack(true);
    control.SetTrack(true);
    control.SetLines(true);
    EXPECT_EQ(form.applied, (std::vector<std::string>{"switches 0 1 0", "switches 0 0 0", "switches 0 0 1", "switches 1 0 1"}));
    EXPECT_EQ(control.Tree().Count(), 2);
    EXPECT_EQ(control.GethSelectedNode(), HandleAt(1));
    EXPECT_TRUE(control.GetExpanded(HandleAt(0)));
}

TEST_F(Properties, FontSizeRoundsWithTheFontsPixelsPerInch) {
    struct {
        std::int32_t screen;
        std::int32_t put;
        std::int32_t height;
        std::int32_t readBack;
    } cases[] = {
        {96, 12, -16, 12}, {96, 8, -11, 8},   {96, 9, -12, 9},  {96, 1, -1, 1},   {96, 0, 0, 0},
        {120, 8, -13, 8},  {120, 10, -17, 10}, {72, 10, -10, 10}, {96, -12, 16, -12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.put << " points at " << c.screen);
        TMyRamvel other(messageBox, u"Ramvel.ocx");
        FakeFormWindow screen(c.screen);
        other.AttachFormWindow(screen);
        other.SetFontSize(c.put);
        EXPECT_EQ(other.Settings().treeFont.height, c.height);
        EXPECT_EQ(other.GetFontSize(), c.readBack);
    }
    EXPECT_EQ(MulDivRound(-11, 72, 96), -8);  // 8.25
    EXPECT_EQ(MulDivRound(5, 3, 2), 8);       // halves away from zero
    EXPECT_EQ(MulDivRound(-5, 3, 2), -8);
}

TEST_F(Properties, TheTreeInheritsTheFormsFontUntilItsOwnFirstRealChange) {
    FontSettings tahoma = control.FormFont();
    tahoma.name = u"Tahoma";
    control.SetFormFont(tahoma);
    EXPECT_EQ(control.GetFontName(), u"Tahoma");

    control.SetFontName(u"");           // ignored
    control.SetFontSize(8);             // the size it has: no change
    control.SetFontName(u"Tahoma");     // the name it has: no change
    FontSettings bold = tahoma;
    bold.bold = true;
    control.SetFormFont(bold);
    EXPECT_TRUE(control.Settings().treeFont.bold);  // still inherited

    control.SetFontSize(12);
    FontSettings verdana = bold;
    verdana.name = u"Verdana";
    control.SetFormFont(verdana);
    EXPECT_EQ(control.GetFontName(), u"Tahoma");
    EXPECT_EQ(control.GetFontSize(), 12);
    EXPECT_EQ(control.FormFont().name, u"Verdana");
    EXPECT_EQ(form.applied, (std::vector<std::string>{"font Tahoma -11", "font Tahoma -11 bold", "font Tahoma -16 bold"}));
}

TEST_F(Properties, ColoursPassThroughUnconverted) {
    for (std::uint32_t colour : {0x000000FFu, 0xFF00000Fu, 0x8000000Fu, 0x00123456u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(colour);
        control.SetColor(colour);
        EXPECT_EQ(control.GetColor(), colour);
        EXPECT_EQ(form.applied.back(), "colour " + std::to_string(colour));
    }
}

TEST_F(Properties, EnumerationsKeepTheirLowEightBits) {
    struct {
        std::int32_t put, stored;
    } cases[] = {{0, 0}, {3, 3}, {4, 4}, {260, 4}, {-1, 255}, {0x12345678, 0x78}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.put);
        control.SetAxBorderStyle(c.put);
        control.SetBiDiMode(c.put);
        control.SetPrintScale(c.put);
        EXPECT_EQ(control.GetAxBorderStyle(), c.stored);
        EXPECT_EQ(control.GetBiDiMode(), c.stored);
        EXPECT_EQ(control.GetPrintScale(), c.stored);
    }
    // Only changes reach the windows: bidirectional mode 0 is the initial one, 260 is 4.
    EXPECT_EQ(form.applied, (std::vector<std::string>{"border 0", "border 3", "bidi 3", "border 4", "bidi 4",
                                                      "border 255", "bidi 255", "border 120", "bidi 120"}));
}

TEST_F(Properties, PixelsPerInchAndScaled) {
    struct {
        const char* step;
        std::function<void()> put;
        std::int32_t pixelsPerInch;
        bool scaled;
    } steps[] = {
        {"new", [] {}, 96, true},
        {"30 is ignored", [&] { control.SetPixelsPerInch(30); }, 96, true},
        {"35 is ignored", [&] { control.SetPixelsPerInch(35); }, 96, true},
        {"36 is stored", [&] { control.SetPixelsPerInch(36); }, 36, true},
        {"0 stores none", [&] { control.SetPixelsPerInch(0); }, 96, false},
        {"Scaled false again", [&] { control.SetScaled(false); }, 96, false},
        {"Scaled true stores the screen's", [&] { control.SetScaled(true); }, 96, true},
        {"144", [&] { control.SetPixelsPerInch(144); }, 144, true},
        {"Scaled true again keeps it", [&] { control.SetScaled(true); }, 144, true},
        {"Scaled false", [&] { control.SetScaled(false); }, 96, false},
        {"the screen's value, equal to the reading: ignored", [&] { control.SetPixelsPerInch(96); }, 96, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.put();
        EXPECT_EQ(control.GetPixelsPerInch(), s.pixelsPerInch);
        EXPECT_EQ(control.GetScaled(), s.scaled);
    }
}

TEST_F(Properties, FormSettingsReachTheWindowAndReadBack) {
    control.SetCaption(u"Parts");
    control.SetEnabled(false);
    control.SetEnabled(false);
    control.SetCursor(-21);
    control.SetDoubleBuffered(true);
    control.SetAutoScroll(true);
    control.SetAutoSize(true);
    control.SetVisible(true);
    control.SetDropTarget(true);
    control.SetHelpFile(u"parts.hlp");
    EXPECT_EQ(form.applied, (std::vector<std::string>{"caption Parts", "enabled 0", "cursor -21", "double buffered 1",
                                                      "auto scroll 1", "auto size 1", "visible 1"}));
    EXPECT_EQ(control.GetCaption(), u"Parts");
    EXPECT_FALSE(control.GetEnabled());
    EXPECT_EQ(control.GetCursor(), -21);
    EXPECT_TRUE(control.GetDoubleBuffered() && control.GetAutoScroll() && control.GetAutoSize());
    EXPECT_TRUE(control.GetVisible());
    EXPECT_TRUE(control.GetDropTarget());
    EXPECT_EQ(control.GetHelpFile(), u"parts.hlp");
    EXPECT_FALSE(control.GetActive());
    form.active = true;
    EXPECT_TRUE(control.GetActive());
}

}  // namespace
}  // namespace ramvel::test
