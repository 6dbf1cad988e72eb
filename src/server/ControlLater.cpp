// IRamvel members whose behaviour (properties, about box) is not built yet: each one
// fails through the error boundary with E_NOTIMPL and a readable message, never a silent success.
#include "server/ControlObject.h"
#include "server/ControlOut.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::get_Visible(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Visible");
    });
}

HRESULT RamvelControl::put_Visible(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"Visible"); }); }

HRESULT RamvelControl::get_AutoScroll(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"AutoScroll");
    });
}

HRESULT RamvelControl::put_AutoScroll(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"AutoScroll"); }); }

HRESULT RamvelControl::get_AutoSize(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"AutoSize");
    });
}

HRESULT RamvelControl::put_AutoSize(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"AutoSize"); }); }

HRESULT RamvelControl::get_AxBorderStyle(TxActiveFormBorderStyle* Value) {
    return ComCall([&] {
        OutParam<TxActiveFormBorderStyle>(Value, afbNone);
        ThrowNotImplemented(u"AxBorderStyle");
    });
}

HRESULT RamvelControl::put_AxBorderStyle(TxActiveFormBorderStyle) {
    return ComCall([&] { ThrowNotImplemented(u"AxBorderStyle"); });
}

HRESULT RamvelControl::get_Caption(BSTR* Value) {
    return ComCall([&] {
        OutParam<BSTR>(Value, nullptr);
        ThrowNotImplemented(u"Caption");
    });
}

HRESULT RamvelControl::put_Caption(BSTR) { return ComCall([&] { ThrowNotImplemented(u"Caption"); }); }

HRESULT RamvelControl::get_Color(OLE_COLOR* Value) {
    return ComCall([&] {
        OutParam<OLE_COLOR>(Value, 0);
        ThrowNotImplemented(u"Color");
    });
}

HRESULT RamvelControl::put_Color(OLE_COLOR) { return ComCall([&] { ThrowNotImplemented(u"Color"); }); }

HRESULT RamvelControl::get_Font(IFontDisp** Value) {
    return ComCall([&] {
        OutParam<IFontDisp*>(Value, nullptr);
        ThrowNotImplemented(u"Font");
    });
}

HRESULT RamvelControl::put_Font(IFontDisp*) { return ComCall([&] { ThrowNotImplemented(u"Font"); }); }

HRESULT RamvelControl::putref_Font(IFontDisp*) { return ComCall([&] { ThrowNotImplemented(u"Font"); }); }

HRESULT RamvelControl::get_PixelsPerInch(LONG* Value) {
    return ComCall([&] {
        OutParam<LONG>(Value, 0);
        ThrowNotImplemented(u"PixelsPerInch");
    });
}

HRESULT RamvelControl::put_PixelsPerInch(LONG) { return ComCall([&] { ThrowNotImplemented(u"PixelsPerInch"); }); }

HRESULT RamvelControl::get_PrintScale(TxPrintScale* Value) {
    return ComCall([&] {
        OutParam<TxPrintScale>(Value, poNone);
        ThrowNotImplemented(u"PrintScale");
    });
}

HRESULT RamvelControl::put_PrintScale(TxPrintScale) { return ComCall([&] { ThrowNotImplemented(u"PrintScale"); }); }

HRESULT RamvelControl::get_Scaled(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Scaled");
    });
}

HRESULT RamvelControl::put_Scaled(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"Scaled"); }); }

HRESULT RamvelControl::get_Active(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Active");
    });
}

HRESULT RamvelControl::get_DropTarget(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"DropTarget");
    });
}

HRESULT RamvelControl::put_DropTarget(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"DropTarget"); }); }

HRESULT RamvelControl::get_HelpFile(BSTR* Value) {
    return ComCall([&] {
        OutParam<BSTR>(Value, nullptr);
        ThrowNotImplemented(u"HelpFile");
    });
}

HRESULT RamvelControl::put_HelpFile(BSTR) { return ComCall([&] { ThrowNotImplemented(u"HelpFile"); }); }

HRESULT RamvelControl::get_DoubleBuffered(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"DoubleBuffered");
    });
}

HRESULT RamvelControl::put_DoubleBuffered(VARIANT_BOOL) {
    return ComCall([&] { ThrowNotImplemented(u"DoubleBuffered"); });
}

HRESULT RamvelControl::get_Enabled(VARIANT_BOOL* Value) {
    return ComCall([&] {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Enabled");
    });
}

HRESULT RamvelControl::put_Enabled(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"Enabled"); }); }

HRESULT RamvelControl::get_BiDiMode(TxBiDiMode* Value) {
    return ComCall([&] {
        OutParam<TxBiDiMode>(Value, bdLeftToRight);
        ThrowNotImplemented(u"BiDiMode");
    });
}

HRESULT RamvelControl::put_BiDiMode(TxBiDiMode) { return ComCall([&] { ThrowNotImplemented(u"BiDiMode"); }); }

HRESULT RamvelControl::get_Cursor(short* Value) {
    return ComCall([&] {
        OutParam<short>(Value, 0);
        ThrowNotImplemented(u"Cursor");
    });
}

HRESULT RamvelControl::put_Cursor(short) { return ComCall([&] { ThrowNotImplemented(u"Cursor"); }); }

HRESULT RamvelControl::AboutBox() { return ComCall([&] { ThrowNotImplemented(u"AboutBox"); }); }

HRESULT RamvelControl::put_Lines(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"Lines"); }); }

HRESULT RamvelControl::put_Buttons(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"Buttons"); }); }

HRESULT RamvelControl::put_Track(VARIANT_BOOL) { return ComCall([&] { ThrowNotImplemented(u"Track"); }); }

HRESULT RamvelControl::get_FontName(BSTR* Value) {
    return ComCall([&] {
        OutParam<BSTR>(Value, nullptr);
        ThrowNotImplemented(u"FontName");
    });
}

HRESULT RamvelControl::put_FontName(BSTR) { return ComCall([&] { ThrowNotImplemented(u"FontName"); }); }

HRESULT RamvelControl::get_FontSize(LONG* Value) {
    return ComCall([&] {
        OutParam<LONG>(Value, 0);
        ThrowNotImplemented(u"FontSize");
    });
}

HRESULT RamvelControl::put_FontSize(LONG) { return ComCall([&] { ThrowNotImplemented(u"FontSize"); }); }

}  // namespace ramvel::server
