// Reads the generated skin folder the way the program does (private-profile reads, the OLE
// picture decoder, LoadImageW) and checks that every window finds what it needs.
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>
#include <string>
#include <vector>

#define T30_WIDEN2(x) L##x
#define T30_WIDEN(x) T30_WIDEN2(x)

namespace {

const std::wstring kSkinDir = T30_WIDEN(T30_TEST_SKIN_DIR);

std::wstring ReadValue(const std::wstring& ini, const wchar_t* section, const std::wstring& key) {
    wchar_t buffer[4096] = {};
    GetPrivateProfileStringW(section, key.c_str(), L"", buffer, 4096, (kSkinDir + ini).c_str());
    return buffer;
}

// The entry grammar: name, then four numbers; the rectangle is left, top, right, bottom.
RECT ParseRect(const std::wstring& value) {
    RECT r = {};
    size_t comma = value.find(L',');
    std::wstring rest = comma == std::wstring::npos ? value : value.substr(comma + 1);
    int n[4] = {};
    swscanf(rest.c_str(), L"%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3]);
    r.left = n[0];
    r.top = n[1];
    r.right = n[0] + n[2];
    r.bottom = n[1] + n[3];
    return r;
}

// Decodes a picture through the system picture decoder; returns its size, or 0 x 0.
SIZE DecodePicture(const std::wstring& file) {
    SIZE size = {};
    HANDLE h = CreateFileW((kSkinDir + file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return size;
    DWORD length = GetFileSize(h, nullptr);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length);
    DWORD read = 0;
    ReadFile(h, GlobalLock(memory), length, &read, nullptr);
    GlobalUnlock(memory);
    CloseHandle(h);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
        GlobalFree(memory);
        return size;
    }
    IPicture* picture = nullptr;
    if (OleLoadPicture(stream, static_cast<LONG>(read), FALSE, IID_IPicture,
                       reinterpret_cast<void**>(&picture)) == S_OK) {
        OLE_HANDLE handle = 0;
        picture->get_Handle(&handle);
        BITMAP bm = {};
        if (GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bm, &bm)) {
            size.cx = bm.bmWidth;
            size.cy = bm.bmHeight;
        }
        picture->Release();
    }
    stream->Release();
    return size;
}

SIZE LoadBitmapFile(const std::wstring& file) {
    SIZE size = {};
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageW(nullptr, (kSkinDir + file).c_str(), IMAGE_BITMAP, 0, 0,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    BITMAP bm = {};
    if (bitmap && GetObjectW(bitmap, sizeof bm, &bm)) {
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
    }
    if (bitmap)
        DeleteObject(bitmap);
    return size;
}

struct SkinFile {
    const wchar_t* ini;
    const wchar_t* section;  // the spelling the window uses
    std::vector<int> keys;   // keys that must give a visible control
};

std::vector<int> Range(int first, int last) {
    std::vector<int> keys;
    for (int k = first; k <= last; ++k)
        keys.push_back(k);
    return keys;
}

std::vector<int> Join(std::vector<std::vector<int>> parts) {
    std::vector<int> all;
    for (auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Test names show the file, not the bytes of the case.
void PrintTo(const SkinFile& f, std::ostream* os) {
    std::wstring ini = f.ini;
    *os << std::string(ini.begin(), ini.end());
}

class SkinFolderTest : public ::testing::TestWithParam<SkinFile> {
  protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_P(SkinFolderTest, StatePicturesDecodeAtTheWindowSize) {
    const SkinFile& f = GetParam();
    SIZE normal = DecodePicture(ReadValue(f.ini, f.section, L"Normal"));
    ASSERT_GT(normal.cx, 0);
    ASSERT_GT(normal.cy, 0);
    for (const wchar_t* state : {L"Mask", L"Over", L"Down", L"Disable"}) {
        std::wstring file = ReadValue(f.ini, f.section, state);
        SIZE size = DecodePicture(file);
        EXPECT_EQ(size.cx, normal.cx) << state;
        EXPECT_EQ(size.cy, normal.cy) << state;
    }
}

TEST_P(SkinFolderTest, EveryControlHasAVisibleRectangleInsideTheWindow) {
    const SkinFile& f = GetParam();
    SIZE window = DecodePicture(ReadValue(f.ini, f.section, L"Normal"));
    for (int key : f.keys) {
        RECT r = ParseRect(ReadValue(f.ini, L"BUTTONPOS", std::to_wstring(key)));
        EXPECT_LT(r.left, r.right) << "key " << key;
        EXPECT_LT(r.top, r.bottom) << "key " << key;
        EXPECT_GE(r.left, 0) << "key " << key;
        EXPECT_GE(r.top, 0) << "key " << key;
        EXPECT_LE(r.right, window.cx) << "key " << key;
        EXPECT_LE(r.bottom, window.cy) << "key " << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllWindows, SkinFolderTest,
    ::testing::Values(
        SkinFile{L"skin_main.ini", L"SCREEN", Range(1, 20)},
        SkinFile{L"skin_button_page.ini", L"Screen",
                 Join({Range(1, 12), Range(30, 34), Range(67, 77), {87, 88, 90, 105}})},
        SkinFile{L"skin_advance_setting.ini", L"SCREEN", Join({Range(1, 17), Range(19, 21)})},
        SkinFile{L"skin_select_macro.ini", L"SCREEN", Range(1, 8)},
        SkinFile{L"skin_key.ini", L"SCREEN", Range(1, 9)},
        SkinFile{L"skin_warn.ini", L"SCREEN", Range(1, 3)}),
    [](const ::testing::TestParamInfo<SkinFile>& info) {
        std::wstring ini = info.param.ini;
        return std::string(ini.begin() + 5, ini.end() - 4);  // "skin_main.ini" -> "main"
    });

TEST(SkinFolder, BitmapFilesLoadAndMatchTheirControls) {
    RECT ok = ParseRect(ReadValue(L"skin_main.ini", L"BUTTONPOS", L"3"));
    RECT tab = ParseRect(ReadValue(L"skin_main.ini", L"BUTTONPOS", L"1"));
    struct Case {
        const wchar_t* file;
        LONG width, height;
    } cases[] = {
        {L"ok_mask.bmp", ok.right - ok.left, ok.bottom - ok.top},
        {L"cancel_mask.bmp", ok.right - ok.left, ok.bottom - ok.top},
        {L"basic_mask.bmp", tab.right - tab.left, tab.bottom - tab.top},
        {L"advanced_mask.bmp", tab.right - tab.left, tab.bottom - tab.top},
    };
    for (const Case& c : cases) {
        SIZE size = LoadBitmapFile(c.file);
        EXPECT_EQ(size.cx, c.width) << c.file;
        EXPECT_EQ(size.cy, c.height) << c.file;
    }
    // The knob rides inside the DPI slider, which is 16 units high.
    SIZE knob = LoadBitmapFile(L"scroll_arrow_down.bmp");
    EXPECT_GT(knob.cx, 0);
    EXPECT_LE(knob.cy, 16);
}

TEST(SkinFolder, DpiMaskAndMousePicturesFitTheButtonPage) {
    SIZE dpiMask = DecodePicture(L"DPI_Window_Mask.bmp");
    RECT stage = ParseRect(ReadValue(L"skin_button_page.ini", L"BUTTONPOS", L"72"));
    EXPECT_EQ(dpiMask.cx, stage.right - stage.left);
    EXPECT_EQ(dpiMask.cy, stage.bottom - stage.top);
    EXPECT_GE(dpiMask.cx, 347);  // the value label ends at 347 inside the stage window

    RECT picture = ParseRect(ReadValue(L"skin_button_page.ini", L"BUTTONPOS", L"105"));
    std::vector<std::wstring> files = {L"mouse.jpg", L"Mouse\\mouse.jpg"};
    for (int n = 1; n <= 9; ++n)
        files.push_back(L"Mouse\\mouse" + std::to_wstring(n) + L".jpg");
    for (const std::wstring& file : files) {
        SIZE size = DecodePicture(file);
        EXPECT_EQ(size.cx, picture.right - picture.left) << std::string(file.begin(), file.end());
        EXPECT_EQ(size.cy, picture.bottom - picture.top) << std::string(file.begin(), file.end());
    }
}

}  // namespace
