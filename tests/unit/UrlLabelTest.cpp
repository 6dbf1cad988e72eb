// TProUrlLabel: colour states, underline, visited flag and opened links for sequences of the
// framework's notifications and property writes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "about/UrlLabel.h"

namespace ramvel::test {
namespace {

constexpr std::uint32_t clGreen = 0x008000;
constexpr std::int32_t kWidth = 58, kHeight = 16;
const std::u16string kCaption = u"www.caption.test";
const std::u16string kMailto = u"mailto:info@example.com";

class RecordingShell : public ILinkOpener {
public:
    std::vector<std::u16string> opened;
    void OpenLink(const std::u16string& link) override { opened.push_back(link); }
};

// What the label shows: its font's colour and whether it is underlined.
struct Shown {
    std::uint32_t colour;
    bool underline;
    bool operator==(const Shown&) const = default;
};
void PrintTo(const Shown& shown, std::ostream* out) {
    *out << std::hex << "{0x" << shown.colour << (shown.underline ? ", underlined}" : ", plain}") << std::dec;
}

enum class Do {
    Enter, Leave, LeftDown, LeftUp, RightDown, RightUp, MiddleDown,
    SetUnvisited, SetVisited, SetActivated, SetHovered, SetCanHover, SetFontColour, DropUnderline
};
struct Step {
    Do what;
    std::int32_t x = 0, y = 0;    // release point
    std::uint32_t value = 0;      // colour, or the CanHover value
};
Step Up(std::int32_t x, std::int32_t y) { return {Do::LeftUp, x, y}; }
Step RightUp(std::int32_t x, std::int32_t y) { return {Do::RightUp, x, y}; }
Step Set(Do what, std::uint32_t value) { return {what, 0, 0, value}; }
const Step Enter{Do::Enter}, Leave{Do::Leave}, Down{Do::LeftDown}, Click{Do::LeftUp, 3, 3};
const Step RightDown{Do::RightDown}, MiddleDown{Do::MiddleDown}, DropUnderline{Do::DropUnderline};

void Apply(TProUrlLabel& label, const Step& step) {
    switch (step.what) {
    case Do::Enter: label.MouseEnter(); break;
    case Do::Leave: label.MouseLeave(); break;
    case Do::LeftDown: label.MouseDown(MouseButton::Left); break;
    case Do::LeftUp: label.MouseUp(MouseButton::Left, step.x, step.y); break;
    case Do::RightDown: label.MouseDown(MouseButton::Right); break;
    case Do::RightUp: label.MouseUp(MouseButton::Right, step.x, step.y); break;
    case Do::MiddleDown: label.MouseDown(MouseButton::Middle); break;
    case Do::SetUnvisited: label.SetUnvisitedColor(step.value); break;
    case Do::SetVisited: label.SetVisitedColor(step.value); break;
    case Do::SetActivated: label.SetActivatedColor(step.value); break;
    case Do::SetHovered: label.SetHoveredColor(step.value); break;
    case Do::SetCanHover: label.SetCanHover(step.value != 0); break;
    case Do::SetFontColour: {
        FontSettings font = label.GetFont();
        font.colour = step.value;
        label.SetFont(font);
        break;
    }
    case Do::DropUnderline: {
        FontSettings font = label.GetFont();
        font.underline = false;
        label.SetFont(font);
        break;
    }
    }
}

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<Shown> shown;  // after each step
    bool visited;
    std::vector<std::u16string> opened;
    bool canHover = false;
    std::u16string url;
    bool down = false;
    std::uint32_t unvisitedColour = clBlue, visitedColour = clNavy;  // stored at the end
};

void RunCases(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingShell shell;
        TProUrlLabel label(shell);
        label.SetCaption(kCaption);
        label.SetSize(kWidth, kHeight);
        label.SetURL(c.url);
        if (c.canHover) label.SetCanHover(true);
        std::vector<Shown> shown;
        for (const auto& step : c.steps) {
            Apply(label, step);
            shown.push_back({label.GetFont().colour, label.GetFont().underline});
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(label.Visited(), c.visited);
        EXPECT_EQ(label.Down(), c.down);
        EXPECT_EQ(shell.opened, c.opened);
        EXPECT_EQ(label.GetUnvisitedColor(), c.unvisitedColour);
        EXPECT_EQ(label.GetVisitedColor(), c.visitedColour);
    }
}

const Shown blue{clBlue, true}, red{clRed, true}, navy{clNavy, true}, green{clGreen, true};

TEST(UrlLabel, StartsAsAnUnvisitedBlueUnderlinedLinkWithTheHandCursor) {
    RecordingShell shell;
    TProUrlLabel label(shell);
    const FontSettings& font = label.GetFont();
    EXPECT_EQ(font.colour, clBlue);
    EXPECT_TRUE(font.underline);
    EXPECT_FALSE(font.bold || font.italic || font.strikeout);
    EXPECT_EQ(label.GetCursor(), crHandPoint);
    EXPECT_EQ(label.GetUnvisitedColor(), clBlue);
    EXPECT_EQ(label.GetActivatedColor(), clRed);
    EXPECT_EQ(label.GetVisitedColor(), clNavy);
    EXPECT_EQ(label.GetHoveredColor(), clWhite);
    EXPECT_FALSE(label.GetCanHover());
    EXPECT_EQ(label.GetURL(), u"");
    EXPECT_FALSE(label.Visited());
    EXPECT_FALSE(label.Down());
}

TEST(UrlLabel, ClicksWithoutHovering) {
    RunCases({
        {"a click opens the caption when URL is empty", {Down, Click}, {red, navy}, true, {kCaption}},
        {"a click opens URL when it is set", {Down, Click}, {red, navy}, true, {kMailto}, false, kMailto},
        {"a second click opens the link again", {Down, Click, Down, Click}, {red, navy, red, navy}, true,
         {kCaption, kCaption}},
        {"the pointer passing over changes nothing", {Enter, Leave}, {blue, blue}, false, {}},
        {"press, off, on, off and release outside", {Down, Leave, Enter, Leave, Up(70, 5)},
         {red, blue, red, blue, blue}, false, {}},
        {"press and release outside once visited", {Down, Click, Down, Leave, Up(-1, 1)},
         {red, navy, red, navy, navy}, true, {kCaption}},
        {"a release without a press", {Click}, {blue}, false, {}},
        {"a press held", {Down}, {red}, false, {}, false, u"", true},
    });
}

TEST(UrlLabel, ReleasePointOnAndAroundTheEdges) {
    RunCases({
        {"on the right edge: inside", {Down, Up(kWidth, 3)}, {red, navy}, true, {kCaption}},
        {"on the bottom edge: inside", {Down, Up(3, kHeight)}, {red, navy}, true, {kCaption}},
        {"on the bottom-right corner: inside", {Down, Up(kWidth, kHeight)}, {red, navy}, true, {kCaption}},
        {"on the top-left corner: inside", {Down, Up(0, 0)}, {red, navy}, true, {kCaption}},
        {"just right of the label", {Down, Up(kWidth + 1, 3)}, {red, blue}, false, {}},
        {"just below the label", {Down, Up(3, kHeight + 1)}, {red, blue}, false, {}},
        {"just left of the label", {Down, Up(-1, 3)}, {red, blue}, false, {}},
        {"just above the label", {Down, Up(3, -1)}, {red, blue}, false, {}},
    });
}

TEST(UrlLabel, OtherButtonsChangeNothing) {
    RunCases({
        {"right press and release", {RightDown, RightUp(3, 3)}, {blue, blue}, false, {}},
        {"a right release keeps the left press", {Down, RightDown, RightUp(3, 3), Click}, {red, red, red, navy}, true,
         {kCaption}},
        {"a right release outside while pressed", {Down, RightUp(-5, -5)}, {red, red}, false, {}, false, u"", true},
        {"a middle press does not arm the click", {MiddleDown, Click}, {blue, blue}, false, {}},
    });
}

TEST(UrlLabel, Hovering) {
    const Shown hovered{clWhite, true}, restingBlue{clBlue, false}, restingNavy{clNavy, false};
    RunCases({
        {"at rest without underline", {Set(Do::SetCanHover, 1)}, {restingBlue}, false, {}, true},
        {"entering underlines in the hovered colour, leaving restores", {Enter, Leave}, {hovered, restingBlue}, false,
         {}, true},
        {"a click stays hovered until the pointer leaves", {Enter, Down, Click, Leave},
         {hovered, red, hovered, restingNavy}, true, {kCaption}, true},
        {"re-entering while pressed shows the activated colour", {Enter, Down, Leave, Enter, Click},
         {hovered, red, restingBlue, red, hovered}, true, {kCaption}, true},
        {"press, leave and release outside", {Enter, Down, Leave, Up(-1, 0)},
         {hovered, red, restingBlue, restingBlue}, false, {}, true},
        {"a new hovered colour", {Set(Do::SetHovered, clGreen), Enter}, {restingBlue, green}, false, {}, true},
        {"a font colour set while hovering is not kept", {Set(Do::SetFontColour, clGreen), Leave},
         {{clGreen, false}, restingBlue}, false, {}, true},
        {"switched off again: underlined at rest", {Set(Do::SetCanHover, 0)}, {blue}, false, {}, true},
    });
}

TEST(UrlLabel, ColourProperties) {
    RunCases({
        {"UnvisitedColor on an unvisited label shows at once", {Set(Do::SetUnvisited, clGreen), Down, Up(-1, 0)},
         {green, red, green}, false, {}, false, u"", false, clGreen},
        {"UnvisitedColor on a visited label is only stored", {Down, Click, Set(Do::SetUnvisited, clGreen), Leave},
         {red, navy, navy, navy}, true, {kCaption}, false, u"", false, clGreen},
        {"UnvisitedColor while pressed shows but is not stored",
         {Down, Set(Do::SetUnvisited, clGreen), Up(-1, 0)}, {red, green, blue}, false, {}},
        {"UnvisitedColor equal to the stored one changes nothing", {Down, Set(Do::SetUnvisited, clBlue)},
         {red, red}, false, {}, false, u"", true},
        {"VisitedColor on an unvisited label changes nothing visible", {Set(Do::SetVisited, clGreen), Down, Click},
         {blue, red, green}, true, {kCaption}, false, u"", false, clBlue, clGreen},
        {"VisitedColor on a visited label shows at once", {Down, Click, Set(Do::SetVisited, clGreen), Leave},
         {red, navy, green, green}, true, {kCaption}, false, u"", false, clBlue, clGreen},
        {"ActivatedColor", {Set(Do::SetActivated, clGreen), Down}, {blue, green}, false, {}, false, u"", true},
        {"a font colour becomes the colour of the current state", {Set(Do::SetFontColour, clGreen), Down, Up(-1, 0)},
         {green, red, green}, false, {}, false, u"", false, clGreen},
        {"a font colour set while pressed is not kept", {Down, Set(Do::SetFontColour, clGreen), Up(-1, 0)},
         {red, green, blue}, false, {}},
        {"CanHover false re-applies the underline", {DropUnderline, Set(Do::SetCanHover, 0)},
         {{clBlue, false}, blue}, false, {}},
    });
}

TEST(UrlLabel, HandlersRunFirstAndFontChangesReachTheWindow) {
    RecordingShell shell;
    TProUrlLabel label(shell);
    label.SetSize(kWidth, kHeight);
    std::vector<std::string> log;
    const auto colour = [&] { return std::to_string(label.GetFont().colour); };
    label.SetOnMouseEnter([&](TProUrlLabel& sender) { log.push_back("enter " + colour() + (&sender == &label ? "" : "?")); });
    label.SetOnMouseLeave([&](TProUrlLabel& sender) { log.push_back("leave " + colour() + (&sender == &label ? "" : "?")); });
    label.OnFontChanged = [&] { log.push_back("font " + colour()); };
    label.MouseDown(MouseButton::Left);
    label.MouseLeave();
    label.MouseEnter();
    label.MouseUp(MouseButton::Left, 1, 1);
    const std::string red = std::to_string(clRed), blue = std::to_string(clBlue), navy = std::to_string(clNavy);
    EXPECT_EQ(log, (std::vector<std::string>{"font " + red, "leave " + red, "font " + blue, "enter " + blue,
                                             "font " + red, "font " + navy}));
    // Neither a caption nor a URL: the click marks the label visited and opens nothing.
    EXPECT_TRUE(label.Visited());
    EXPECT_TRUE(shell.opened.empty());
}

}  // namespace
}  // namespace ramvel::test
