// The demo's switches for the control's properties: check boxes for the tree's switches and
// combo boxes for the image list, the font and the colour.
#include "DemoSwitches.h"

#include <cstdio>

#include "server/ComPtr.h"

using ramvel::server::Bstr;

namespace {

struct NamedColour {
    const wchar_t* name;
    OLE_COLOR value;  // 0x00BBGGRR, or 0x800000nn for a system colour
};
constexpr NamedColour kColours[] = {
    {L"Button face", 0x8000000F},
    {L"White", 0x00FFFFFF},
    {L"Light yellow", 0x00E1FFFF},
    {L"Light blue", 0x00FFE6D2},
};
constexpr const wchar_t* kFaces[] = {L"MS Sans Serif", L"Tahoma", L"Courier New", L"Times New Roman"};
constexpr int kSizes[] = {8, 9, 10, 12, 14};
constexpr int kStandardList = 1, kAlternateList = 2;

// A system colour comes as 0x800000nn or 0xFF0000nn; the combo box knows the first form.
OLE_COLOR CommonForm(OLE_COLOR colour) {
    const OLE_COLOR kind = colour >> 24;
    return kind == 0x80 || kind == 0xFF ? 0x80000000 | (colour & 0x00FFFFFF) : colour;
}

std::wstring Hex(unsigned long value) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", value);
    return text;
}

LRESULT AddItem(HWND combo, const std::wstring& text, LPARAM data) {
    const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
    return at;
}

// Selects the item showing `text`, adding it first when the combo box lacks it.
void SelectText(HWND combo, const std::wstring& text) {
    LRESULT at = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (at == CB_ERR) at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

// Selects the item holding `data`, adding it as `text` first when the combo box lacks it.
void SelectData(HWND combo, LPARAM data, const std::wstring& text) {
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    LRESULT at = 0;
    while (at < count && SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(at), 0) != data) ++at;
    if (at == count) at = AddItem(combo, text, data);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

LPARAM SelectedData(HWND combo) {
    return SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(SendMessageW(combo, CB_GETCURSEL, 0, 0)), 0);
}

std::wstring SelectedText(HWND combo) {
    const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0)), L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(text.data()));
    return text;
}

VARIANT_BOOL Checked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetChecked(HWND box, bool checked) {
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

SwitchPanel::SwitchPanel(HWND parent, IRamvel* control, void (*log)(const std::wstring&))
    : parent_(parent), control_(control), log_(log) {
    lines_ = Add(L"BUTTON", L"Lines", BS_AUTOCHECKBOX);
    buttons_ = Add(L"BUTTON", L"Buttons", BS_AUTOCHECKBOX);
    track_ = Add(L"BUTTON", L"Hot tracking", BS_AUTOCHECKBOX);
    images_ = Add(L"BUTTON", L"Images", BS_AUTOCHECKBOX);
    const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL;
    faceLabel_ = Add(L"STATIC", L"Font:", 0);
    face_ = Add(L"COMBOBOX", L"", list);
    sizeLabel_ = Add(L"STATIC", L"Size:", 0);
    size_ = Add(L"COMBOBOX", L"", list);
    listLabel_ = Add(L"STATIC", L"Image list:", 0);
    list_ = Add(L"COMBOBOX", L"", list);
    colourLabel_ = Add(L"STATIC", L"Colour:", 0);
    colour_ = Add(L"COMBOBOX", L"", list);

    for (const wchar_t* face : kFaces) AddItem(face_, face, 0);
    for (int size : kSizes) AddItem(size_, std::to_wstring(size), size);
    AddItem(list_, L"Standard", kStandardList);
    AddItem(list_, L"Alternate", kAlternateList);
    for (const NamedColour& colour : kColours) AddItem(colour_, colour.name, static_cast<LPARAM>(colour.value));

    // The tree's switches cannot be read: the boxes start as a new tree has them, and are
    // written once so that box and tree agree whatever the tree had before.
    SetChecked(lines_, true);
    SetChecked(buttons_, true);
    SetChecked(track_, false);
    for (HWND box : {lines_, buttons_, track_}) Command(box, BN_CLICKED);
    ReadBack();
}

void SwitchPanel::Layout(int left, int top) {
    const HWND boxes[] = {lines_, buttons_, track_, images_};
    for (int i = 0; i < 4; ++i) MoveWindow(boxes[i], left + 95 * i, top, 92, 20, TRUE);
    // Two rows of a label and a combo box, twice across. A combo box's height includes its
    // drop-down list.
    const auto row = [&](int y, HWND firstLabel, HWND firstCombo, HWND secondLabel, HWND secondCombo) {
        MoveWindow(firstLabel, left, y + 4, 58, 16, TRUE);
        MoveWindow(firstCombo, left + 60, y, 160, 200, TRUE);
        MoveWindow(secondLabel, left + 232, y + 4, 42, 16, TRUE);
        MoveWindow(secondCombo, left + 276, y, 104, 200, TRUE);
    };
    row(top + 28, faceLabel_, face_, sizeLabel_, size_);
    row(top + 56, listLabel_, list_, colourLabel_, colour_);
}

bool SwitchPanel::Command(HWND from, WORD code) {
    if (code == BN_CLICKED && from == lines_) Check(L"Lines", control_->put_Lines(Checked(from)));
    else if (code == BN_CLICKED && from == buttons_) Check(L"Buttons", control_->put_Buttons(Checked(from)));
    else if (code == BN_CLICKED && from == track_) Check(L"Track", control_->put_Track(Checked(from)));
    else if (code == BN_CLICKED && from == images_) Check(L"Images", control_->put_Images(Checked(from)));
    else if (code == CBN_SELCHANGE && from == list_)
        Check(L"ImageList", control_->put_ImageList(static_cast<LONG>(SelectedData(from))));
    else if (code == CBN_SELCHANGE && from == face_) {
        Bstr name(SysAllocString(SelectedText(from).c_str()));
        Check(L"FontName", control_->put_FontName(name.Get()));
    } else if (code == CBN_SELCHANGE && from == size_)
        Check(L"FontSize", control_->put_FontSize(static_cast<LONG>(SelectedData(from))));
    else if (code == CBN_SELCHANGE && from == colour_)
        Check(L"Color", control_->put_Color(static_cast<OLE_COLOR>(SelectedData(from))));
    else
        return false;
    ReadBack();
    return true;
}

void SwitchPanel::Tour() {
    SetChecked(lines_, false);
    Command(lines_, BN_CLICKED);
    SelectText(face_, L"Tahoma");
    Command(face_, CBN_SELCHANGE);
    SelectText(size_, L"10");
    Command(size_, CBN_SELCHANGE);
    SelectText(colour_, L"Light yellow");
    Command(colour_, CBN_SELCHANGE);
}

HWND SwitchPanel::Add(const wchar_t* windowClass, const wchar_t* text, DWORD style) {
    HWND child = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return child;
}

void SwitchPanel::Check(const wchar_t* property, HRESULT result) {
    if (FAILED(result)) log_(std::wstring(L"(") + property + L" refused: " + Hex(static_cast<unsigned long>(result)) + L")");
}

// Each switch shows the control's own value: picking a list turns the images on, a size may
// round, a face the combo box lacks is added to it.
void SwitchPanel::ReadBack() {
    VARIANT_BOOL shown = VARIANT_FALSE;
    if (SUCCEEDED(control_->get_Images(&shown))) SetChecked(images_, shown != VARIANT_FALSE);
    LONG list = 0;
    if (SUCCEEDED(control_->get_ImageList(&list))) {
        if (list == kStandardList || list == kAlternateList) SelectData(list_, list, L"");
        else SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // no list shown
    }
    Bstr face;
    if (SUCCEEDED(control_->get_FontName(face.Put())) && face.Get()) SelectText(face_, face.Get());
    LONG points = 0;
    if (SUCCEEDED(control_->get_FontSize(&points))) SelectData(size_, points, std::to_wstring(points));
    OLE_COLOR colour = 0;
    if (SUCCEEDED(control_->get_Color(&colour))) SelectData(colour_, static_cast<LPARAM>(CommonForm(colour)), Hex(colour));
}
