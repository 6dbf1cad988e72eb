// IRamvel properties of the tree and of the control form: each one reads or sets a setting
// of TMyRamvel; the form's font travels as an OLE font object. Puts of saved settings go
// through PutSaved (notifications, dirty flag); Visible is the container's and is not saved.
#include "RamvelDispIds.h"
#include "server/ControlObject.h"
#include "server/ControlOut.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {
namespace {

// A boolean property read from the control.
template <typename Read>
HRESULT GetBool(VARIANT_BOOL* value, Read read) {
    return ComCall([&] {
        VARIANT_BOOL& out = OutParam<VARIANT_BOOL>(value, VARIANT_FALSE);
        out = ToVariantBool(read());
    });
}

template <typename T, typename Read>
HRESULT GetValue(T* value, Read read) {
    return ComCall([&] {
        T& out = OutParam<T>(value, T{});
        out = static_cast<T>(read());
    });
}

// The text is read inside the boundary: reading it may allocate.
template <typename Read>
HRESULT GetString(BSTR* value, Read read) {
    return ComCall([&] {
        BSTR& out = OutText(value);
        SetText(out, read());
    });
}

}  // namespace

// --- The tree --------------------------------------------------------------------------

HRESULT RamvelControl::put_Lines(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_LINES, [&] { Control().SetLines(Value != 0); }); }
HRESULT RamvelControl::put_Buttons(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_BUTTONS, [&] { Control().SetButtons(Value != 0); }); }
HRESULT RamvelControl::put_Track(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_TRACK, [&] { Control().SetTrack(Value != 0); }); }

HRESULT RamvelControl::get_FontName(BSTR* Value) { return GetString(Value, [&] { return Control().GetFontName(); }); }
HRESULT RamvelControl::put_FontName(BSTR Value) { return PutSaved(DISPID_RAMVEL_FONTNAME, [&] { Control().SetFontName(TextView(Value)); }); }
HRESULT RamvelControl::get_FontSize(LONG* Value) { return GetValue(Value, [&] { return Control().GetFontSize(); }); }
HRESULT RamvelControl::put_FontSize(LONG Value) { return PutSaved(DISPID_RAMVEL_FONTSIZE, [&] { Control().SetFontSize(Value); }); }

// --- The form ------------------------------------------------------------------------

HRESULT RamvelControl::get_Visible(VARIANT_BOOL* Value) { return GetBool(Value, [&] { return Control().GetVisible(); }); }
HRESULT RamvelControl::put_Visible(VARIANT_BOOL Value) { return Member([&] { Control().SetVisible(Value != 0); }); }

HRESULT RamvelControl::get_AutoScroll(VARIANT_BOOL* Value) {
    return GetBool(Value, [&] { return Control().GetAutoScroll(); });
}
HRESULT RamvelControl::put_AutoScroll(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_AUTOSCROLL, [&] { Control().SetAutoScroll(Value != 0); }); }

HRESULT RamvelControl::get_AutoSize(VARIANT_BOOL* Value) { return GetBool(Value, [&] { return Control().GetAutoSize(); }); }
HRESULT RamvelControl::put_AutoSize(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_AUTOSIZE, [&] { Control().SetAutoSize(Value != 0); }); }

HRESULT RamvelControl::get_AxBorderStyle(TxActiveFormBorderStyle* Value) {
    return GetValue(Value, [&] { return Control().GetAxBorderStyle(); });
}
HRESULT RamvelControl::put_AxBorderStyle(TxActiveFormBorderStyle Value) {
    return PutSaved(DISPID_RAMVEL_AXBORDERSTYLE, [&] { Control().SetAxBorderStyle(Value); });
}

HRESULT RamvelControl::get_Caption(BSTR* Value) { return GetString(Value, [&] { return Control().GetCaption(); }); }
HRESULT RamvelControl::put_Caption(BSTR Value) { return PutSaved(DISPID_CAPTION, [&] { Control().SetCaption(TextView(Value)); }); }

HRESULT RamvelControl::get_Color(OLE_COLOR* Value) { return GetValue(Value, [&] { return Control().GetColor(); }); }
HRESULT RamvelControl::put_Color(OLE_COLOR Value) { return PutSaved(DISPID_BACKCOLOR, [&] { Control().SetColor(Value); }); }

HRESULT RamvelControl::get_Font(IFontDisp** Value) {
    return Member([&] {
        IFontDisp*& out = OutParam<IFontDisp*>(Value, nullptr);
        out = font_.Get(Control().FormFont()).Detach();
    });
}
// Binding copies the object into the form's font: that copy is this put's change.
HRESULT RamvelControl::put_Font(IFontDisp* Value) {
    return PutSaved(DISPID_FONT, [&] {
        struct Putting {
            bool& flag;
            explicit Putting(bool& f) : flag(f) { flag = true; }
            ~Putting() { flag = false; }
        } putting{fontPut_};
        font_.Bind(Value, Control().FormFont());
    });
}
HRESULT RamvelControl::putref_Font(IFontDisp** Value) {
    if (!Value) return Member([] { throw RamvelError(u"", E_POINTER); });
    return put_Font(*Value);
}

HRESULT RamvelControl::get_KeyPreview(VARIANT_BOOL* Value) {
    return GetBool(Value, [&] { return Control().GetKeyPreview(); });
}
HRESULT RamvelControl::put_KeyPreview(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_KEYPREVIEW, [&] { Control().SetKeyPreview(Value != 0); }); }

HRESULT RamvelControl::get_PixelsPerInch(LONG* Value) {
    return GetValue(Value, [&] { return Control().GetPixelsPerInch(); });
}
HRESULT RamvelControl::put_PixelsPerInch(LONG Value) { return PutSaved(DISPID_RAMVEL_PIXELSPERINCH, [&] { Control().SetPixelsPerInch(Value); }); }

HRESULT RamvelControl::get_PrintScale(TxPrintScale* Value) {
    return GetValue(Value, [&] { return Control().GetPrintScale(); });
}
HRESULT RamvelControl::put_PrintScale(TxPrintScale Value) { return PutSaved(DISPID_RAMVEL_PRINTSCALE, [&] { Control().SetPrintScale(Value); }); }

HRESULT RamvelControl::get_Scaled(VARIANT_BOOL* Value) { return GetBool(Value, [&] { return Control().GetScaled(); }); }
HRESULT RamvelControl::put_Scaled(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_SCALED, [&] { Control().SetScaled(Value != 0); }); }

HRESULT RamvelControl::get_Active(VARIANT_BOOL* Value) { return GetBool(Value, [&] { return Control().GetActive(); }); }

HRESULT RamvelControl::get_DropTarget(VARIANT_BOOL* Value) {
    return GetBool(Value, [&] { return Control().GetDropTarget(); });
}
HRESULT RamvelControl::put_DropTarget(VARIANT_BOOL Value) { return PutSaved(DISPID_RAMVEL_DROPTARGET, [&] { Control().SetDropTarget(Value != 0); }); }

HRESULT RamvelControl::get_HelpFile(BSTR* Value) { return GetString(Value, [&] { return Control().GetHelpFile(); }); }
HRESULT RamvelControl::put_HelpFile(BSTR Value) { return PutSaved(DISPID_RAMVEL_HELPFILE, [&] { Control().SetHelpFile(TextView(Value)); }); }

HRESULT RamvelControl::get_DoubleBuffered(VARIANT_BOOL* Value) {
    return GetBool(Value, [&] { return Control().GetDoubleBuffered(); });
}
HRESULT RamvelControl::put_DoubleBuffered(VARIANT_BOOL Value) {
    return PutSaved(DISPID_RAMVEL_DOUBLEBUFFERED, [&] { Control().SetDoubleBuffered(Value != 0); });
}

HRESULT RamvelControl::get_Enabled(VARIANT_BOOL* Value) { return GetBool(Value, [&] { return Control().GetEnabled(); }); }
HRESULT RamvelControl::put_Enabled(VARIANT_BOOL Value) { return PutSaved(DISPID_ENABLED, [&] { Control().SetEnabled(Value != 0); }); }

HRESULT RamvelControl::get_BiDiMode(TxBiDiMode* Value) { return GetValue(Value, [&] { return Control().GetBiDiMode(); }); }
HRESULT RamvelControl::put_BiDiMode(TxBiDiMode Value) { return PutSaved(DISPID_RAMVEL_BIDIMODE, [&] { Control().SetBiDiMode(Value); }); }

HRESULT RamvelControl::get_Cursor(short* Value) { return GetValue(Value, [&] { return Control().GetCursor(); }); }
HRESULT RamvelControl::put_Cursor(short Value) { return PutSaved(DISPID_RAMVEL_CURSOR, [&] { Control().SetCursor(Value); }); }

}  // namespace ramvel::server
