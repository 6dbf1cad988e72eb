// The saved settings: their binary form, read back whole or refused whole, and a control's
// settings taken and applied through its properties.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "FakeFormWindow.h"
#include "TestSupport.h"
#include "properties/SavedSettings.h"

namespace ramvel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes Entry(std::uint16_t tag, const Bytes& value, std::optional<std::uint32_t> length = {}) {
    Bytes out;
    Put(out, tag, 2);
    Put(out, length.value_or(static_cast<std::uint32_t>(value.size())), 4);
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

Bytes Block(const std::vector<Bytes>& entries, std::uint32_t version = 1, std::optional<std::uint32_t> length = {}) {
    Bytes payload;
    for (const Bytes& e : entries) payload.insert(payload.end(), e.begin(), e.end());
    Bytes out{'R', 'V', 'L', 'S'};
    Put(out, version, 4);
    Put(out, length.value_or(static_cast<std::uint32_t>(payload.size())), 4);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes Utf16(std::u16string_view text) {
    Bytes out;
    for (char16_t c : text) Put(out, c, 2);
    return out;
}

std::u16string Ascii(const std::string& text) { return {text.begin(), text.end()}; }

std::uint16_t Tag(SettingTag tag) { return static_cast<std::uint16_t>(tag); }

// Every setting away from a new control's value.
SavedSettings EverythingChanged() {
    SavedSettings s;
    s.caption = u"Customers \u00e9t\u00e9";
    s.colour = 0x800000FF;
    s.font = {u"Courier New", 12, true, true, true, true, 0};
    s.treeOwnFont = true;
    s.treeFontName = u"Tahoma";
    s.treeFontSize = 14;
    s.keyPreview = true;
    s.borderStyle = 3;
    s.bidiMode = 1;
    s.printScale = 2;
    s.cursor = -21;
    s.doubleBuffered = s.autoScroll = s.autoSize = s.dropTarget = true;
    s.enabled = false;
    s.helpFile = u"C:\\help\\tree.hlp";
    s.imageList = 2;
    s.pixelsPerInch = 120;
    s.lines = s.buttons = false;
    s.track = true;
    return s;
}

SavedSettings Defaults() {
    SavedSettings s;
    s.caption = u"MyRamvel";
    s.colour = 0xFF00000F;
    s.font.name = s.treeFontName = u"MS Sans Serif";
    s.pixelsPerInch = 96;  // the screen's, stored
    return s;
}

TEST(SavedSettings, EverySettingRoundTripsAndTheTestChangesEachOne) {
    const SavedSettings changed = EverythingChanged();
    const SavedSettings base = Defaults();
    for (const SettingInfo& info : SavedSettingTable()) {
        SCOPED_TRACE(Show(std::u16string(info.name)));
        EXPECT_NE(info.get(changed), info.get(base));
    }
    const Bytes bytes = WriteSavedSettings(changed);
    std::size_t used = 0;
    EXPECT_EQ(ReadSavedSettings(bytes, base, &used), changed);
    EXPECT_EQ(used, bytes.size());
    EXPECT_LE(bytes.size(), SavedSizeBound(changed));
    EXPECT_EQ(ReadSavedSettings(WriteSavedSettings(base), changed), base);
}

TEST(SavedSettings, TheLayoutIsLittleEndianWithTaggedLengths) {
    SavedSettings s = Defaults();
    s.caption = u"A";
    const Bytes bytes = WriteSavedSettings(s);
    const Bytes start(bytes.begin(), bytes.begin() + 20);
    EXPECT_EQ(start, (Bytes{'R', 'V', 'L', 'S', 1, 0, 0, 0, static_cast<std::uint8_t>(bytes.size() - 12),
                            static_cast<std::uint8_t>((bytes.size() - 12) >> 8), 0, 0, 1, 0, 2, 0, 0, 0, 'A', 0}));
    // Colour 0xFF00000F follows as a four-byte number.
    const Bytes colour(bytes.begin() + 20, bytes.begin() + 30);
    EXPECT_EQ(colour, (Bytes{2, 0, 4, 0, 0, 0, 0x0F, 0, 0, 0xFF}));
}

TEST(SavedSettings, TrailingBytesBelongToTheContainer) {
    Bytes bytes = Block({Entry(Tag(SettingTag::Cursor), {0xEB, 0xFF})});
    const std::size_t own = bytes.size();
    bytes.insert(bytes.end(), {9, 9, 9});
    std::size_t used = 0;
    EXPECT_EQ(ReadSavedSettings(bytes, Defaults(), &used).cursor, -21);
    EXPECT_EQ(used, own);
}

TEST(SavedSettings, UnknownTagsAreSkippedAndMissingOnesKeepTheBase) {
    const Bytes bytes = Block({Entry(999, {1, 2, 3, 4, 5}), Entry(Tag(SettingTag::ImageList), {2}), Entry(0, {}),
                               Entry(0xFFFF, Bytes(300, 0xAB))});
    SavedSettings expected = EverythingChanged();
    expected.imageList = 2;
    SavedSettings base = EverythingChanged();
    base.imageList = 0;
    EXPECT_EQ(ReadSavedSettings(bytes, base), expected);
    EXPECT_EQ(ReadSavedSettings(Block({}), base), base);
}

TEST(SavedSettings, DamagedOrHostileDataIsRefusedWithItsReason) {
    const Bytes good = WriteSavedSettings(EverythingChanged());
    struct {
        const char* what;
        Bytes bytes;
        std::int32_t hresult;
        std::u16string message;
    } cases[] = {
        {"empty", {}, kStgEReadFault,
         u"The saved Ramvel settings end early: their header takes 12 bytes, only 0 are there."},
        {"header cut", Bytes(good.begin(), good.begin() + 11), kStgEReadFault,
         u"The saved Ramvel settings end early: their header takes 12 bytes, only 11 are there."},
        {"payload cut", Bytes(good.begin(), good.end() - 1), kStgEReadFault,
         u"The saved Ramvel settings end early: " + Ascii(std::to_string(good.size() - 12)) +
             u" bytes of settings announced, " + Ascii(std::to_string(good.size() - 13)) + u" are there."},
        {"wrong signature", [&] { Bytes b = good; b[0] = 'X'; return b; }(), kStgEInvalidHeader,
         u"The data holds no saved Ramvel settings (its signature is not RVLS)."},
        {"a stream of another control", Bytes{0x4D, 0x5A, 0x90, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF}, kStgEInvalidHeader,
         u"The data holds no saved Ramvel settings (its signature is not RVLS)."},
        {"version 0", Block({}, 0), kStgEOldFormat,
         u"The saved Ramvel settings have format version 0; this Ramvel reads version 1 only."},
        {"a later version", Block({}, 2), kStgEOldFormat,
         u"The saved Ramvel settings have format version 2; this Ramvel reads version 1 only."},
        {"huge payload", Block({}, 1, 0xFFFFFFF0u), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: they announce 4294967280 bytes, more than the 1048576 any "
         u"settings take."},
        {"entry header cut", Block({Bytes{1, 0, 2}}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: an entry's header at byte 0 is cut short."},
        {"entry past the end", Block({Entry(Tag(SettingTag::Caption), Utf16(u"ab"), 6)}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: entry 1 claims 6 bytes, only 4 remain."},
        {"huge entry", Block({Entry(Tag(SettingTag::Caption), Utf16(u"ab"), 0xFFFFFFFFu)}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: entry 1 claims 4294967295 bytes, only 4 remain."},
        {"unknown entry past the end", Block({Entry(4000, {1}, 2)}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: entry 4000 claims 2 bytes, only 1 remain."},
        {"flag of two bytes", Block({Entry(Tag(SettingTag::Lines), {1, 0})}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: Lines takes 1 byte, not 2."},
        {"colour of two bytes", Block({Entry(Tag(SettingTag::Color), {1, 0})}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: Color takes 4 bytes, not 2."},
        {"odd text", Block({Entry(Tag(SettingTag::HelpFile), {'a', 0, 'b'})}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: HelpFile has an odd number of bytes for a UTF-16 text."},
        {"twice", Block({Entry(Tag(SettingTag::Track), {1}), Entry(Tag(SettingTag::Track), {0})}), kStgEDocFileCorrupt,
         u"The saved Ramvel settings are damaged: Track appears twice."},
        {"flag 2", Block({Entry(Tag(SettingTag::Enabled), {2})}), kEInvalidArg,
         u"The saved value 2 of Enabled is no flag (0 or 1)."},
        {"image list 3", Block({Entry(Tag(SettingTag::ImageList), {3})}), kEInvalidArg,
         u"3 is out of range for ImageList (0 to 2)."},
        {"pixels per inch 35", Block({Entry(Tag(SettingTag::PixelsPerInch), {35, 0, 0, 0})}), kEInvalidArg,
         u"35 is out of range for PixelsPerInch (0, or 36 to 2147483647)."},
        {"pixels per inch negative", Block({Entry(Tag(SettingTag::PixelsPerInch), {0xFF, 0xFF, 0xFF, 0xFF})}),
         kEInvalidArg, u"-1 is out of range for PixelsPerInch (0, or 36 to 2147483647)."},
        {"font size beyond any font", Block({Entry(Tag(SettingTag::TreeFontSize), {0x00, 0x80, 0, 0})}), kEInvalidArg,
         u"32768 is out of range for FontSize (-32767 to 32767)."},
        {"text too long", Block({Entry(Tag(SettingTag::Caption), Bytes(2 * (kMaxSavedText + 1), 'x'))}), kEInvalidArg,
         u"The text of Caption is too long to save: at most 65535 characters."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_ERROR(ReadSavedSettings(c.bytes, Defaults()), c.hresult, c.message);
    }
}

TEST(SavedSettings, NumbersKeepTheirSignAndWidth) {
    struct {
        SettingTag tag;
        Bytes value;
        std::function<std::int64_t(const SavedSettings&)> read;
        std::int64_t expected;
    } cases[] = {
        {SettingTag::Cursor, {0x98, 0x3A}, [](const SavedSettings& s) { return s.cursor; }, 15000},
        {SettingTag::Cursor, {0x00, 0x80}, [](const SavedSettings& s) { return s.cursor; }, -32768},
        {SettingTag::Color, {0xFF, 0xFF, 0xFF, 0xFF}, [](const SavedSettings& s) { return s.colour; }, 0xFFFFFFFF},
        {SettingTag::TreeFontSize, {0xF4, 0xFF, 0xFF, 0xFF}, [](const SavedSettings& s) { return s.treeFontSize; }, -12},
        {SettingTag::AxBorderStyle, {0xFF}, [](const SavedSettings& s) { return s.borderStyle; }, 255},
        {SettingTag::FontCharset, {0x80}, [](const SavedSettings& s) { return s.font.charset; }, 128},
        {SettingTag::PixelsPerInch, {0, 0, 0, 0}, [](const SavedSettings& s) { return s.pixelsPerInch; }, 0},
        {SettingTag::PixelsPerInch, {36, 0, 0, 0}, [](const SavedSettings& s) { return s.pixelsPerInch; }, 36},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.tag));
        EXPECT_EQ(c.read(ReadSavedSettings(Block({Entry(Tag(c.tag), c.value)}), Defaults())), c.expected);
    }
}

TEST(SavedSettings, SavingWhatWouldNotReadBackFailsClearly) {
    SavedSettings big = Defaults();
    big.font.points = 40000;
    EXPECT_ERROR(WriteSavedSettings(big), kEInvalidArg, u"40000 is out of range for Font.Size (-32767 to 32767).");
    SavedSettings s = Defaults();
    s.helpFile.assign(kMaxSavedText + 1, u'x');
    EXPECT_ERROR(WriteSavedSettings(s), kEInvalidArg, u"The text of HelpFile is too long to save: at most 65535 characters.");
    s.helpFile.resize(kMaxSavedText);
    EXPECT_EQ(ReadSavedSettings(WriteSavedSettings(s), Defaults()).helpFile.size(), kMaxSavedText);
}

TEST(SavedSettings, SetSettingChecksKindAndRange) {
    SavedSettings s = Defaults();
    const SettingInfo& imageList = *FindSetting(SettingTag::ImageList);
    EXPECT_ERROR(SetSetting(s, imageList, std::int64_t{-1}), kEInvalidArg, u"-1 is out of range for ImageList (0 to 2).");
    EXPECT_ERROR(SetSetting(s, imageList, true), kEInvalidArg, u"ImageList takes a number.");
    EXPECT_ERROR(SetSetting(s, *FindSetting(SettingTag::Lines), std::int64_t{1}), kEInvalidArg,
                 u"Lines takes True or False.");
    EXPECT_ERROR(SetSetting(s, *FindSetting(SettingTag::Caption), false), kEInvalidArg, u"Caption takes a text.");
    EXPECT_ERROR(SetSetting(s, *FindSetting(SettingTag::Cursor), std::int64_t{40000}), kEInvalidArg,
                 u"40000 is out of range for Cursor (-32768 to 32767).");
    EXPECT_EQ(s, Defaults());
    SetSetting(s, imageList, std::int64_t{0});
    EXPECT_EQ(s.imageList, 0);
}

// --- A control's settings ------------------------------------------------------------------

class ControlSettings : public ControlTest {
protected:
    ControlSettings() { control.AttachFormWindow(form); }
    FakeFormWindow form;
};

TEST_F(ControlSettings, ANewControlsSettingsAreItsInitialOnes) {
    EXPECT_EQ(control.CurrentSettings(), Defaults());
    EXPECT_EQ(control.NewControlSettings(), Defaults());
}

TEST_F(ControlSettings, AppliedSettingsReadBackThroughEveryProperty) {
    const SavedSettings s = EverythingChanged();
    control.ApplySettings(s);
    EXPECT_EQ(control.CurrentSettings(), s);
    EXPECT_EQ(control.GetCaption(), s.caption);
    EXPECT_EQ(control.GetColor(), s.colour);
    EXPECT_EQ(control.FormFont().name, u"Courier New");
    EXPECT_EQ(PointsOf(control.FormFont()), 12);
    EXPECT_TRUE(control.FormFont().bold && control.FormFont().italic && control.FormFont().underline &&
                control.FormFont().strikeout);
    EXPECT_EQ(control.GetFontName(), u"Tahoma");
    EXPECT_EQ(control.GetFontSize(), 14);
    EXPECT_TRUE(control.GetKeyPreview());
    EXPECT_EQ(control.GetAxBorderStyle(), 3);
    EXPECT_EQ(control.GetBiDiMode(), 1);
    EXPECT_EQ(control.GetPrintScale(), 2);
    EXPECT_EQ(control.GetCursor(), -21);
    EXPECT_TRUE(control.GetDoubleBuffered() && control.GetAutoScroll() && control.GetAutoSize() &&
                control.GetDropTarget());
    EXPECT_FALSE(control.GetEnabled());
    EXPECT_EQ(control.GetHelpFile(), s.helpFile);
    EXPECT_EQ(control.GetImageList(), 2);
    EXPECT_EQ(control.GetPixelsPerInch(), 120);
    EXPECT_TRUE(control.GetScaled());
    EXPECT_EQ(form.applied.back(), "switches 0 0 1");
    // Later changes of the form's font no longer reach the tree, as after a FontName put.
    FontSettings arial = control.FormFont();
    arial.name = u"Arial";
    control.SetFormFont(arial);
    EXPECT_EQ(control.GetFontName(), u"Tahoma");
}

TEST_F(ControlSettings, NewSettingsUndoEverythingAndTheTreeFollowsTheFormAgain) {
    control.ApplySettings(EverythingChanged());
    control.ApplySettings(control.NewControlSettings());
    EXPECT_EQ(control.CurrentSettings(), Defaults());
    EXPECT_TRUE(control.Settings().treeInheritsFont);
    EXPECT_EQ(control.GetImageList(), 1);
    EXPECT_EQ(control.GetPixelsPerInch(), 96);
    FontSettings arial = control.FormFont();
    arial.name = u"Arial";
    control.SetFormFont(arial);
    EXPECT_EQ(control.GetFontName(), u"Arial");
}

TEST_F(ControlSettings, ScaledOffAndImagesOffRoundTripWithoutTheModuleFlag) {
    control.SetScaled(false);
    control.SetImageList(2);
    SavedSettings s = control.CurrentSettings();
    s.imageList = 0;
    TMyRamvel other(messageBox, u"Ramvel.ocx");
    FakeTreeWidget otherWidget{other};
    FakeFormWindow otherForm;
    other.AttachWidget(otherWidget);
    other.AttachFormWindow(otherForm);
    other.FormCreate();
    other.ApplySettings(ReadSavedSettings(WriteSavedSettings(s), other.NewControlSettings()));
    EXPECT_FALSE(other.GetScaled());
    EXPECT_EQ(other.GetPixelsPerInch(), 96);
    EXPECT_EQ(other.GetImageList(), 0);
    EXPECT_FALSE(other.GetImages());
    EXPECT_NE(Module().imageDisplay.load(), 0);  // the module's flag stays as it was
    EXPECT_EQ(other.NewControlSettings().imageList, 1);
}

TEST_F(ControlSettings, HeldEventsReachNoSinkAndComeBackWhenReleased) {
    control.AddNodes(u"0\tA\n0\tB");
    sink->events.clear();
    control.HoldEvents(true);
    control.GoToNode(1);
    control.FormClicked();
    char16_t key = u'x';
    control.SetKeyPreview(true);
    control.FormKeyPressed(key);
    EXPECT_EQ(key, u'x');
    EXPECT_TRUE(sink->events.empty());
    control.HoldEvents(false);
    control.GoToNode(0);
    control.FormClicked();
    EXPECT_EQ(sink->events.size(), 2u);
}

}  // namespace
}  // namespace ramvel::test
