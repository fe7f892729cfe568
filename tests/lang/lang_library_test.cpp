#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "string_ids.h"

namespace {

// Every id the program asks the language library for.
std::vector<UINT> AllStringIds() {
    std::vector<UINT> ids;
    auto range = [&ids](UINT first, UINT last) {
        for (UINT id = first; id <= last; ++id)
            ids.push_back(id);
    };
    range(100, 109);
    range(150, 165);
    range(200, 217);
    range(251, 265);
    range(300, 305);
    range(1000, 1001);
    range(1003, 1062);
    range(1063, 1076);
    ids.push_back(1078);
    range(1080, 1082);
    range(1084, 1086);
    range(1104, 1110);
    ids.push_back(1111);
    range(1124, 1126);
    range(1142, 1145);
    range(1147, 1148);
    return ids;
}

std::wstring BesideExecutable(const wchar_t* fileName) {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + fileName;
}

class LanguageLibrary {
  public:
    explicit LanguageLibrary(const wchar_t* fileName)
        : module_(LoadLibraryExW(BesideExecutable(fileName).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~LanguageLibrary() {
        if (module_)
            FreeLibrary(module_);
    }
    LanguageLibrary(const LanguageLibrary&) = delete;
    LanguageLibrary& operator=(const LanguageLibrary&) = delete;

    bool loaded() const { return module_ != nullptr; }

    // Same buffer size as the program's windows use.
    std::wstring Text(UINT id) const {
        wchar_t buffer[260] = {};
        int length = LoadStringW(module_, id, buffer, 260);
        return std::wstring(buffer, length > 0 ? length : 0);
    }

  private:
    HMODULE module_;
};

struct LibraryCase {
    const wchar_t* file;
    const wchar_t* okCaption;
    const wchar_t* applyCaption;  // German needs a non-ASCII letter here
};

// Test names show the library, not the bytes of the case.
void PrintTo(const LibraryCase& c, std::ostream* os) {
    *os << (c.file[4] == L'_' ? "lan_de.dll" : "lan.dll");
}

class LanguageLibraryTest : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(LanguageLibraryTest, HoldsEveryTextTheProgramAsksFor) {
    LanguageLibrary library(GetParam().file);
    ASSERT_TRUE(library.loaded()) << "cannot load " << GetLastError();

    EXPECT_EQ(library.Text(IDS_APP_TITLE), L"VANTREL T-30");
    EXPECT_EQ(library.Text(IDS_OK), GetParam().okCaption);
    for (UINT id : AllStringIds()) {
        EXPECT_FALSE(library.Text(id).empty()) << "string " << id << " is missing";
    }
}

TEST_P(LanguageLibraryTest, DecodesTheUtf8Source) {
    LanguageLibrary library(GetParam().file);
    ASSERT_TRUE(library.loaded());
    EXPECT_EQ(library.Text(IDS_APPLY), GetParam().applyCaption);
}

TEST(LanguageLibraries, TranslatesCaptionsButKeepsTheTitle) {
    LanguageLibrary english(L"lan.dll");
    LanguageLibrary german(L"lan_de.dll");
    ASSERT_TRUE(english.loaded());
    ASSERT_TRUE(german.loaded());
    // The window-finding title stays the same in every language; the captions do not.
    EXPECT_EQ(english.Text(IDS_APP_TITLE), german.Text(IDS_APP_TITLE));
    for (UINT id : {IDS_TAB_BASIC, IDS_CANCEL, IDS_WARN_NO_MOUSE, IDS_FN_LEFT_CLICK,
                    IDS_EV_PRESS_RELEASE, IDS_LIGHT_BREATHING}) {
        EXPECT_NE(english.Text(id), german.Text(id)) << "string " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageLibraryTest,
                         ::testing::Values(LibraryCase{L"lan.dll", L"OK", L"Apply"},
                                           LibraryCase{L"lan_de.dll", L"OK", L"\u00dcbernehmen"}),
                         [](const ::testing::TestParamInfo<LibraryCase>& info) {
                             return info.index == 0 ? std::string("English")
                                                    : std::string("German");
                         });

}  // namespace
