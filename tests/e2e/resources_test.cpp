// What the executable carries: the icon, the version record and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {
std::filesystem::path ProgramPath() {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    return std::filesystem::path(own).parent_path() / L"Kavlo_Connect.exe";
}

class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }
    std::string Bytes(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module, name, type);
        if (!found) return {};
        auto data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }
    HMODULE module = nullptr;
};

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)
}  // namespace

TEST_F(ProgramResources, MainIconHasEightSizesInFullColourWithAlpha) {
    std::string group = Bytes(L"MAINICON", RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(count, 8);
    auto entries = reinterpret_cast<const IconGroupEntry*>(group.data() + 6);
    const int sizes[] = {128, 96, 72, 64, 48, 32, 24, 16};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(entries[i].width, sizes[i]);
        EXPECT_EQ(entries[i].bit_count, 32);
        HICON icon = static_cast<HICON>(
            LoadImageW(module, L"MAINICON", IMAGE_ICON, sizes[i], sizes[i], LR_DEFAULTCOLOR));
        EXPECT_NE(icon, nullptr) << sizes[i];
        DestroyIcon(icon);
    }
}

TEST_F(ProgramResources, VersionRecordHoldsOnlyTheTwoVersions) {
    std::string record = Bytes(MAKEINTRESOURCEW(1), RT_VERSION);
    ASSERT_FALSE(record.empty());
    auto* fixed = static_cast<VS_FIXEDFILEINFO*>(nullptr);
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));

    struct Translation { WORD language, code_page; } *translations = nullptr;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translations[0].language, 0x0409);
    EXPECT_EQ(translations[0].code_page, 1252);
    for (const wchar_t* key : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* value = nullptr;
        ASSERT_TRUE(VerQueryValueW(record.data(), (std::wstring(L"\\StringFileInfo\\040904E4\\") + key).c_str(),
                                   reinterpret_cast<void**>(&value), &length));
        EXPECT_STREQ(value, L"1.0.0.0");
    }
    for (const wchar_t* absent : {L"CompanyName", L"FileDescription", L"ProductName", L"OriginalFilename"}) {
        wchar_t* value = nullptr;
        EXPECT_FALSE(VerQueryValueW(record.data(), (std::wstring(L"\\StringFileInfo\\040904E4\\") + absent).c_str(),
                                    reinterpret_cast<void**>(&value), &length)) << absent;
    }
}

TEST_F(ProgramResources, ManifestAsksForCommonControlsSixAndNoElevation) {
    std::string manifest = Bytes(MAKEINTRESOURCEW(1), RT_MANIFEST);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos) << "no DPI awareness: Windows scales the windows";
}
