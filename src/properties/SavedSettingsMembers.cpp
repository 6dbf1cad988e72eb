// The control's saved settings: read from its properties, and applied through their setters.
#include "control/ModuleState.h"
#include "control/MyRamvel.h"

namespace ramvel {
namespace {

SavedFont ToSaved(const FontSettings& font) {
    return {font.name, PointsOf(font), font.bold, font.italic, font.underline, font.strikeout, font.charset};
}

SavedSettings FromForm(const FormSettings& form, bool keyPreview, std::uint8_t imageList) {
    SavedSettings saved;
    saved.caption = form.caption;
    saved.colour = form.colour;
    saved.font = ToSaved(form.formFont);
    saved.treeOwnFont = !form.treeInheritsFont;
    saved.treeFontName = form.treeFont.name;
    saved.treeFontSize = PointsOf(form.treeFont);
    saved.keyPreview = keyPreview;
    saved.borderStyle = form.borderStyle;
    saved.bidiMode = form.bidiMode;
    saved.printScale = form.printScale;
    saved.cursor = form.cursor;
    saved.doubleBuffered = form.doubleBuffered;
    saved.autoScroll = form.autoScroll;
    saved.autoSize = form.autoSize;
    saved.dropTarget = form.dropTarget;
    saved.enabled = form.enabled;
    saved.helpFile = form.helpFile;
    saved.imageList = imageList;
    saved.pixelsPerInch = form.storedPixelsPerInch;
    saved.lines = form.lines;
    saved.buttons = form.buttons;
    saved.track = form.track;
    return saved;
}

}  // namespace

SavedSettings TMyRamvel::CurrentSettings() const {
    return FromForm(settings_, keyPreview_, static_cast<std::uint8_t>(GetImageList()));
}

SavedSettings TMyRamvel::NewControlSettings() const {
    // A control made now shows the standard list unless the module's images are off.
    return FromForm(FormSettings(settings_.screenPixelsPerInch), false, Module().imageDisplay != 0 ? 1 : 0);
}

void TMyRamvel::ApplySettings(const SavedSettings& saved) {
    FontSettings font = settings_.formFont;
    font.name = saved.font.name;
    font.height = HeightFor(saved.font.points, font.pixelsPerInch);
    font.bold = saved.font.bold;
    font.italic = saved.font.italic;
    font.underline = saved.font.underline;
    font.strikeout = saved.font.strikethrough;
    font.charset = saved.font.charset;
    // Saved while the tree still followed the form's font: it follows it again.
    if (!saved.treeOwnFont) settings_.treeInheritsFont = true;
    SetFormFont(font);
    if (saved.treeOwnFont) {
        // Its own font, also when the saved face and size are those it has now.
        settings_.treeInheritsFont = false;
        SetFontName(saved.treeFontName);
        SetFontSize(saved.treeFontSize);
    }
    SetColor(saved.colour);
    SetCaption(saved.caption);
    SetKeyPreview(saved.keyPreview);
    SetAxBorderStyle(saved.borderStyle);
    SetBiDiMode(saved.bidiMode);
    SetPrintScale(saved.printScale);
    SetCursor(saved.cursor);
    SetDoubleBuffered(saved.doubleBuffered);
    SetAutoScroll(saved.autoScroll);
    SetAutoSize(saved.autoSize);
    SetDropTarget(saved.dropTarget);
    SetHelpFile(saved.helpFile);
    SetEnabled(saved.enabled);
    if (saved.imageList == 0)
        ShowList(nullptr);  // as Images False shows it, without the module-wide flag
    else
        SetImageList(saved.imageList);
    SetScaled(saved.pixelsPerInch != 0);
    SetPixelsPerInch(saved.pixelsPerInch);
    SetLines(saved.lines);
    SetButtons(saved.buttons);
    SetTrack(saved.track);
}

}  // namespace ramvel
