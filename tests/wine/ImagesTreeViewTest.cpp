// The image members seen in the real tree view: Wine's ATL hosts the module's control in a
// container, and the test reads back the tree view's image lists, an item's state image, the
// pixels an image draws, and the failures of files that cannot be read.
//   ImagesTreeViewTest.exe IMAGES_FOLDER     (tests/wine/images, as a Windows path)
#include <functional>
#include <memory>

#include "HostedControl.h"

using namespace comtest;

namespace {

constexpr int kStandardCount = 42, kAlternateCount = 87;
constexpr int kRootState = 3;  // the state index of the root's node line below
const wchar_t kRootLine[] = L"0\tRoot\t0\t0\t3";

// "42 of 16x16", or "none": what a test expects of an image list.
std::string Describe(HIMAGELIST list) {
    if (!list) return "none";
    int w = 0, h = 0;
    ImageList_GetIconSize(list, &w, &h);
    return std::to_string(ImageList_GetImageCount(list)) + " of " + std::to_string(w) + "x" + std::to_string(h);
}
std::string ListOf(int count, int side) {
    return std::to_string(count) + " of " + std::to_string(side) + "x" + std::to_string(side);
}

HRESULT AddImage(IRamvel* control, const wchar_t* name, LONG* index) {
    Bstr text = MakeBstr(name);
    return control->AddImage(text.Get(), index);
}

HRESULT ReplaceImage(IRamvel* control, LONG index, const wchar_t* name) {
    Bstr text = MakeBstr(name);
    return control->ReplaceImage(index, text.Get());
}

using Call = std::function<HRESULT(IRamvel*)>;

// --- Which list the tree view shows -------------------------------------------------------

void ShownList(Container& container) {
    HostedControl r(container);
    Bstr root = MakeBstr(kRootLine);
    ASSERT_HR(r->AddNodes(root.Get()), S_OK);
    ASSERT_TRUE(r.Root() != nullptr);
    const std::string standard = ListOf(kStandardCount, 16), alternate = ListOf(kAlternateCount, 16);
    struct {
        const char* step;
        Call call;
        LONG imageList;
        VARIANT_BOOL images;
        std::string normal;
    } steps[] = {
        {"a new control", [](IRamvel*) { return S_OK; }, 1, VARIANT_TRUE, standard},
        {"ImageList = 2", [](IRamvel* c) { return c->put_ImageList(2); }, 2, VARIANT_TRUE, alternate},
        {"ImageList = 3", [](IRamvel* c) { return c->put_ImageList(3); }, 2, VARIANT_TRUE, alternate},
        {"Images = 0", [](IRamvel* c) { return c->put_Images(0); }, 0, VARIANT_FALSE, "none"},
        {"ImageList = 5", [](IRamvel* c) { return c->put_ImageList(5); }, 0, VARIANT_FALSE, "none"},
        {"ImageList = 0", [](IRamvel* c) { return c->put_ImageList(0); }, 1, VARIANT_TRUE, standard},
        {"Images = 0 again", [](IRamvel* c) { return c->put_Images(0); }, 0, VARIANT_FALSE, "none"},
        {"ImageList = 2 again", [](IRamvel* c) { return c->put_ImageList(2); }, 2, VARIANT_TRUE, alternate},
        // Any non-zero value shows the standard list, and leaves the module's flag on.
        {"Images = 5", [](IRamvel* c) { return c->put_Images(5); }, 1, VARIANT_TRUE, standard},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_HR(s.call(r.control.Get()), S_OK);
        Pump();
        LONG imageList = -1;
        VARIANT_BOOL images = 7;
        EXPECT_HR(r->get_ImageList(&imageList), S_OK);
        EXPECT_EQ(imageList, s.imageList);
        EXPECT_HR(r->get_Images(&images), S_OK);
        EXPECT_EQ(images, s.images);
        EXPECT_EQ(Describe(r.Normal()), s.normal);
        // The state images are the standard list's, whatever the normal list is.
        EXPECT_EQ(Describe(r.State()), standard);
        EXPECT_EQ(TreeView_GetItemState(r.tree, r.Root(), TVIS_STATEIMAGEMASK),
                  static_cast<UINT>(INDEXTOSTATEIMAGEMASK(kRootState)));
    }
}

// Images = 0 on one control: a control made afterwards starts without a normal list.
void ModuleFlag(Container& container) {
    HostedControl first(container);
    EXPECT_HR(first->put_Images(VARIANT_FALSE), S_OK);
    HostedControl later(container);
    LONG imageList = -1;
    EXPECT_HR(later->get_ImageList(&imageList), S_OK);
    EXPECT_EQ(imageList, 0);
    EXPECT_EQ(Describe(later.Normal()), "none");
    EXPECT_EQ(Describe(later.State()), ListOf(kStandardCount, 16));
    EXPECT_HR(later->put_Images(VARIANT_TRUE), S_OK);
    EXPECT_EQ(Describe(later.Normal()), ListOf(kStandardCount, 16));
    HostedControl third(container);
    EXPECT_EQ(Describe(third.Normal()), ListOf(kStandardCount, 16));
    EXPECT_EQ(Describe(first.Normal()), "none");  // Images on one control leaves the others as they are
}

// --- The shown list's content and size --------------------------------------------------------

void ListContent(Container& container) {
    HostedControl r(container);
    constexpr LONG kNone = -2;  // the step gives no index
    LONG index = kNone;
    auto add = [&](const wchar_t* name) { return [&index, name](IRamvel* c) { return AddImage(c, name, &index); }; };
    struct {
        const char* step;
        Call call;
        HRESULT hr;
        LONG index;
        std::string normal, state;
    } steps[] = {
        {"AddImage icon", add(L"icon16-32bit.ico"), S_OK, 42, ListOf(43, 16), ListOf(43, 16)},
        {"AddImage strip of three", add(L"strip48x16.bmp"), S_OK, 43, ListOf(46, 16), ListOf(46, 16)},
        {"ReplaceImage -1 appends", [](IRamvel* c) { return ReplaceImage(c, -1, L"icon32-png.ico"); }, S_OK, kNone,
         ListOf(47, 16), ListOf(47, 16)},
        {"ReplaceImage 0", [](IRamvel* c) { return ReplaceImage(c, 0, L"magenta16.bmp"); }, S_OK, kNone, ListOf(47, 16),
         ListOf(47, 16)},
        {"ClearImages", [](IRamvel* c) { return c->ClearImages(); }, S_OK, kNone, ListOf(0, 16), ListOf(0, 16)},
        {"resetImages", [](IRamvel* c) { return c->resetImages(); }, S_OK, kNone, ListOf(42, 16), ListOf(42, 16)},
        {"resetImages again", [](IRamvel* c) { return c->resetImages(); }, S_OK, kNone, ListOf(84, 16), ListOf(84, 16)},
        {"imageSize 32", [](IRamvel* c) { return c->imageSize(32, 32); }, S_OK, kNone, ListOf(0, 32), ListOf(0, 32)},
        {"AddImage multi-size icon", add(L"icon-multi.ico"), S_OK, 0, ListOf(1, 32), ListOf(1, 32)},
        {"resetImages at 32", [](IRamvel* c) { return c->resetImages(); }, S_OK, kNone, ListOf(43, 32), ListOf(43, 32)},
        {"imageSize 32 again", [](IRamvel* c) { return c->imageSize(32, 32); }, S_OK, kNone, ListOf(43, 32),
         ListOf(43, 32)},
        {"imageSize 0 by 32", [](IRamvel* c) { return c->imageSize(0, 32); }, E_UNEXPECTED, kNone, ListOf(43, 32),
         ListOf(43, 32)},
        {"imageSize 16", [](IRamvel* c) { return c->imageSize(16, 16); }, S_OK, kNone, ListOf(0, 16), ListOf(0, 16)},
        {"ImageList = 2", [](IRamvel* c) { return c->put_ImageList(2); }, S_OK, kNone, ListOf(87, 16), ListOf(0, 16)},
        {"AddImage to the alternate list", add(L"icon16-32bit.ico"), S_OK, 87, ListOf(88, 16), ListOf(0, 16)},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(s.step);
        index = kNone;
        EXPECT_HR(s.call(r.control.Get()), s.hr);
        EXPECT_EQ(index, s.index);
        Pump();
        EXPECT_EQ(Describe(r.Normal()), s.normal);
        EXPECT_EQ(Describe(r.State()), s.state);
    }
}

// --- Pixels: each image drawn over a known colour ------------------------------------------

constexpr COLORREF kFill = RGB(0x20, 0x40, 0x60);  // shows through transparent pixels

struct Sample {
    int x, y;
    COLORREF colour;
};

// The colours of `samples` once image `index` of `list` is drawn over kFill (-1 when drawing failed).
std::vector<COLORREF> Drawn(HIMAGELIST list, int index, const std::vector<Sample>& samples) {
    std::vector<COLORREF> colours(samples.size(), static_cast<COLORREF>(-1));
    int w = 0, h = 0;
    if (!list || !ImageList_GetIconSize(list, &w, &h)) return colours;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(kFill);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    if (ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT))
        for (size_t i = 0; i < samples.size(); ++i) colours[i] = GetPixel(dc, samples[i].x, samples[i].y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colours;
}

void Pixels(Container& container) {
    HostedControl r(container);
    const COLORREF red = RGB(0xC0, 0, 0), blue = RGB(0, 0, 0xC0), yellow = RGB(0xC0, 0xC0, 0);
    const std::vector<Sample> magenta = {{2, 2, kFill}, {5, 13, kFill}, {0, 15, kFill}, {12, 2, red}, {12, 13, blue}};
    const std::vector<Sample> icon16 = {
        {2, 2, kFill}, {7, 13, kFill}, {12, 2, RGB(0xFF, 0x80, 0)}, {12, 13, RGB(0, 0x80, 0)}};
    const std::vector<Sample> png32 = {{5, 5, kFill}, {15, 30, kFill}, {24, 5, red}, {24, 24, blue}};
    struct {
        const char* what;
        int side;  // the list's image size
        const wchar_t* file;
        LONG replace;  // image replaced by the file, or -2 to add it
        int nth;       // which image of those the file added
        std::vector<Sample> samples;
    } cases[] = {
        // The bitmap's bottom-left colour (magenta) is transparent.
        {"bitmap", 16, L"magenta16.bmp", -2, 0, magenta},
        {"32-bit icon", 16, L"icon16-32bit.ico", -2, 0, icon16},
        {"PNG icon scaled down", 16, L"icon32-png.ico", -2, 0, {{3, 3, kFill}, {12, 3, red}, {12, 12, blue}}},
        // The entry of the list's size (24-bit, its AND mask clears the left half).
        {"multi-size icon", 16, L"icon-multi.ico", -2, 0, {{2, 8, kFill}, {12, 8, RGB(0, 0xC0, 0)}}},
        {"strip, first", 16, L"strip48x16.bmp", -2, 0, {{1, 1, kFill}, {8, 8, RGB(0xFF, 0, 0)}, {14, 14, kFill}}},
        {"strip, second", 16, L"strip48x16.bmp", -2, 1, {{1, 1, kFill}, {8, 8, RGB(0, 0xFF, 0)}}},
        {"strip, third", 16, L"strip48x16.bmp", -2, 2, {{8, 8, RGB(0, 0, 0xFF)}, {14, 1, kFill}}},
        {"ReplaceImage with a bitmap", 16, L"magenta16.bmp", 0, 0, magenta},
        {"ReplaceImage with an icon", 16, L"icon16-32bit.ico", 0, 0, icon16},
        {"multi-size icon at 32", 32, L"icon-multi.ico", -2, 0, {{1, 1, yellow}, {30, 30, yellow}}},
        {"PNG icon at 32", 32, L"icon32-png.ico", -2, 0, png32},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_HR(r->imageSize(c.side, c.side), S_OK);
        LONG index = c.replace;
        if (c.replace == -2)
            EXPECT_HR(AddImage(r.control.Get(), c.file, &index), S_OK);
        else
            EXPECT_HR(ReplaceImage(r.control.Get(), c.replace, c.file), S_OK);
        Pump();
        std::vector<COLORREF> expected;
        for (const Sample& s : c.samples) expected.push_back(s.colour);
        EXPECT_SEQ_EQ(Drawn(r.Normal(), index + c.nth, c.samples), expected);
    }
}

// --- Files that cannot be read ------------------------------------------------------------------

std::wstring FullPath(const std::wstring& name) {
    wchar_t full[MAX_PATH * 2];
    const DWORD size = GetFullPathNameW(name.c_str(), MAX_PATH * 2, full, nullptr);
    return std::wstring(full, size);
}

// The system's text for an error, without its line break.
std::wstring SystemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && text.back() <= L' ') text.pop_back();
    return text;
}

std::wstring CannotOpen(const std::wstring& name, DWORD error) {
    return L"Impossible d'ouvrir le fichier \"" + FullPath(name) + L"\". " + SystemText(error);
}

// Runs in another folder while it lives.
class InFolder {
public:
    explicit InFolder(const std::wstring& folder) {
        GetCurrentDirectoryW(MAX_PATH * 2, saved_);
        if (!SetCurrentDirectoryW(folder.c_str())) winecheck::Abort("cannot enter " + winecheck::Utf8(folder));
    }
    ~InFolder() { SetCurrentDirectoryW(saved_); }

private:
    wchar_t saved_[MAX_PATH * 2];
};

void Unreadable(Container& container, const std::wstring& images) {
    HostedControl r(container);
    // The held copy lives in the temporary folder, named relative to it, so that no dot of
    // the folder's path reaches the name.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring held = L"ramvel-held-" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
    struct HandleCloser {
        void operator()(HANDLE h) const { CloseHandle(h); }
    };
    struct {
        const char* what;
        const wchar_t* folder;  // nullptr: the images
        std::wstring name;
        DWORD access, share;   // another handle open on the file meanwhile (access 0: none)
        DWORD openError;       // why the control cannot open the file (0: it can)
        const wchar_t* error;  // the failure's text once the file is open (nullptr: none)
    } cases[] = {
        {"icon in a dotted folder", nullptr, L"my.icons\\in-dotted-folder.ico", 0, 0, 0, L"Image de bitmap non valide"},
        {"missing file", nullptr, L"missing.bmp", 0, 0, ERROR_FILE_NOT_FOUND, nullptr},
        {"file nobody else holds", temp, held, 0, 0, 0, nullptr},
        {"file held by a reader that shares", temp, held, GENERIC_READ, FILE_SHARE_READ, 0, nullptr},
        {"file locked by a writer", temp, held, GENERIC_WRITE, 0, ERROR_SHARING_VIOLATION, nullptr},
        {"file held by a writer that shares", temp, held, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
         ERROR_SHARING_VIOLATION, nullptr},
    };
    {
        InFolder in(images);
        if (!CopyFileW(L"magenta16.bmp", (temp + held).c_str(), FALSE)) winecheck::Abort("cannot copy magenta16.bmp");
    }
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        InFolder in(c.folder ? c.folder : images);
        std::unique_ptr<void, HandleCloser> other;
        if (c.access) {
            other.reset(CreateFileW(c.name.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(other.get() != INVALID_HANDLE_VALUE);
        }
        const std::wstring expected = c.openError ? CannotOpen(c.name, c.openError) : c.error ? c.error : L"";
        const int before = r.NormalCount();
        SetErrorInfo(0, nullptr);
        LONG index = -5;
        const HRESULT hr = AddImage(r.control.Get(), c.name.c_str(), &index);
        const ErrorObject error = TakeErrorInfo();
        if (expected.empty()) {
            EXPECT_HR(hr, S_OK);
            EXPECT_EQ(index, before);
            EXPECT_EQ(r.NormalCount(), before + 1);
            EXPECT_FALSE(error.present);
        } else {
            EXPECT_HR(hr, E_UNEXPECTED);
            EXPECT_EQ(index, 0);
            EXPECT_EQ(r.NormalCount(), before);
            EXPECT_TRUE(error.present);
            EXPECT_EQ(error.source, L"RamvelProj1.Ramvel");
            EXPECT_EQ(error.description, expected);
        }
    }
    DeleteFileW((temp + held).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    Apartment apartment;
    if (argc != 2) winecheck::Abort("usage: ImagesTreeViewTest IMAGES_FOLDER");
    const std::string folder = argv[1];
    const std::wstring images = FullPath(std::wstring(folder.begin(), folder.end()));
    if (GetFileAttributesW((images + L"\\magenta16.bmp").c_str()) == INVALID_FILE_ATTRIBUTES)
        winecheck::Abort("no test pictures in " + folder);
    InitCommonControls();
    Container container;
    // The pictures are named relative to their folder, whose path may hold dots of its own.
    InFolder in(images);
    RAMVEL_CASE("the normal list follows ImageList and Images; the state list stays") { ShownList(container); }
    RAMVEL_CASE("Images = 0 reaches controls made later") { ModuleFlag(container); }
    RAMVEL_CASE("the tree view's lists follow the standard list's content and size") { ListContent(container); }
    RAMVEL_CASE("images draw as their files hold them") { Pixels(container); }
    RAMVEL_CASE("files that cannot be read") { Unreadable(container, images); }
    return winecheck::Report();
}
