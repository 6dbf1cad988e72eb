// IRamvel members whose behaviour (properties, images, about box) is not built yet: each one
// fails through the error boundary with E_NOTIMPL and a readable message, never a silent success.
#include "server/ControlObject.h"
#include "server/ControlOut.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::get_Visible(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Visible");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Visible(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"Visible");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_AutoScroll(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"AutoScroll");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_AutoScroll(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"AutoScroll");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_AutoSize(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"AutoSize");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_AutoSize(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"AutoSize");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_AxBorderStyle(TxActiveFormBorderStyle* Value) {
    try {
        OutParam<TxActiveFormBorderStyle>(Value, afbNone);
        ThrowNotImplemented(u"AxBorderStyle");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_AxBorderStyle(TxActiveFormBorderStyle) {
    try {
        ThrowNotImplemented(u"AxBorderStyle");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Caption(BSTR* Value) {
    try {
        OutParam<BSTR>(Value, nullptr);
        ThrowNotImplemented(u"Caption");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Caption(BSTR) {
    try {
        ThrowNotImplemented(u"Caption");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Color(OLE_COLOR* Value) {
    try {
        OutParam<OLE_COLOR>(Value, 0);
        ThrowNotImplemented(u"Color");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Color(OLE_COLOR) {
    try {
        ThrowNotImplemented(u"Color");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Font(IFontDisp** Value) {
    try {
        OutParam<IFontDisp*>(Value, nullptr);
        ThrowNotImplemented(u"Font");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Font(IFontDisp*) {
    try {
        ThrowNotImplemented(u"Font");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::putref_Font(IFontDisp*) {
    try {
        ThrowNotImplemented(u"Font");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_KeyPreview(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"KeyPreview");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_KeyPreview(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"KeyPreview");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_PixelsPerInch(LONG* Value) {
    try {
        OutParam<LONG>(Value, 0);
        ThrowNotImplemented(u"PixelsPerInch");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_PixelsPerInch(LONG) {
    try {
        ThrowNotImplemented(u"PixelsPerInch");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_PrintScale(TxPrintScale* Value) {
    try {
        OutParam<TxPrintScale>(Value, poNone);
        ThrowNotImplemented(u"PrintScale");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_PrintScale(TxPrintScale) {
    try {
        ThrowNotImplemented(u"PrintScale");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Scaled(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Scaled");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Scaled(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"Scaled");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Active(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Active");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_DropTarget(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"DropTarget");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_DropTarget(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"DropTarget");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_HelpFile(BSTR* Value) {
    try {
        OutParam<BSTR>(Value, nullptr);
        ThrowNotImplemented(u"HelpFile");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_HelpFile(BSTR) {
    try {
        ThrowNotImplemented(u"HelpFile");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_DoubleBuffered(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"DoubleBuffered");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_DoubleBuffered(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"DoubleBuffered");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Enabled(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Enabled");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Enabled(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"Enabled");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_BiDiMode(TxBiDiMode* Value) {
    try {
        OutParam<TxBiDiMode>(Value, bdLeftToRight);
        ThrowNotImplemented(u"BiDiMode");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_BiDiMode(TxBiDiMode) {
    try {
        ThrowNotImplemented(u"BiDiMode");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Cursor(short* Value) {
    try {
        OutParam<short>(Value, 0);
        ThrowNotImplemented(u"Cursor");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Cursor(short) {
    try {
        ThrowNotImplemented(u"Cursor");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::AboutBox() {
    try {
        ThrowNotImplemented(u"AboutBox");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::ClearImages() {
    try {
        ThrowNotImplemented(u"ClearImages");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::AddImage(BSTR, LONG* ImageNumber) {
    try {
        OutParam<LONG>(ImageNumber, 0);
        ThrowNotImplemented(u"AddImage");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::ReplaceImage(LONG, BSTR) {
    try {
        ThrowNotImplemented(u"ReplaceImage");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::imageSize(LONG, LONG) {
    try {
        ThrowNotImplemented(u"imageSize");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::resetImages() {
    try {
        ThrowNotImplemented(u"resetImages");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Lines(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"Lines");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Buttons(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"Buttons");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Track(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"Track");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Images(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        ThrowNotImplemented(u"Images");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Images(VARIANT_BOOL) {
    try {
        ThrowNotImplemented(u"Images");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_FontName(BSTR* Value) {
    try {
        OutParam<BSTR>(Value, nullptr);
        ThrowNotImplemented(u"FontName");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_FontName(BSTR) {
    try {
        ThrowNotImplemented(u"FontName");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_FontSize(LONG* Value) {
    try {
        OutParam<LONG>(Value, 0);
        ThrowNotImplemented(u"FontSize");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_FontSize(LONG) {
    try {
        ThrowNotImplemented(u"FontSize");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_ImageList(LONG* Value) {
    try {
        OutParam<LONG>(Value, 0);
        ThrowNotImplemented(u"ImageList");
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_ImageList(LONG) {
    try {
        ThrowNotImplemented(u"ImageList");
    } catch (...) {
        return ToHResult();
    }
}

}  // namespace ramvel::server
