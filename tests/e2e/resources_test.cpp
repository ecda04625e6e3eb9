// What the executable carries: the icon, the version record and the manifest.
#include <windows.h>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {
std::filesystem::path ProgramPath() {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    return std::filesystem::path(own).parent_path() / L"Kavlo_Connect.exe";
}

class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        module_ =
            LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }
    std::string Bytes(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return {};
        auto data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }
    HMODULE module_ = nullptr;
};

// A version's four 16-bit fields as a.b.c.d.
std::string Dotted(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) + "." +
           std::to_string(LOWORD(low));
}

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
        HICON icon =
            static_cast<HICON>(LoadImageW(module_, L"MAINICON", IMAGE_ICON, sizes[i], sizes[i], LR_DEFAULTCOLOR));
        EXPECT_NE(icon, nullptr) << sizes[i];
        DestroyIcon(icon);
    }
}

// KAVLO_PROGRAM_VERSION: the version the build was configured with.
TEST_F(ProgramResources, VersionRecordHoldsOnlyTheTwoVersions) {
    std::string record = Bytes(MAKEINTRESOURCEW(1), RT_VERSION);
    ASSERT_FALSE(record.empty());
    auto* fixed = static_cast<VS_FIXEDFILEINFO*>(nullptr);
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), KAVLO_PROGRAM_VERSION);
    EXPECT_EQ(Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS), KAVLO_PROGRAM_VERSION);

    struct Translation {
        WORD language, code_page;
    }* translations = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translations[0].language, 0x0409);
    EXPECT_EQ(translations[0].code_page, 1252);
    for (const wchar_t* key : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* value = nullptr;
        ASSERT_TRUE(VerQueryValueW(record.data(), (std::wstring(L"\\StringFileInfo\\040904E4\\") + key).c_str(),
                                   reinterpret_cast<void**>(&value), &length));
        EXPECT_STREQ(value, L"" KAVLO_PROGRAM_VERSION);
    }
    for (const wchar_t* absent : {L"CompanyName", L"FileDescription", L"ProductName", L"OriginalFilename"}) {
        wchar_t* value = nullptr;
        EXPECT_FALSE(VerQueryValueW(record.data(), (std::wstring(L"\\StringFileInfo\\040904E4\\") + absent).c_str(),
                                    reinterpret_cast<void**>(&value), &length))
            << absent;
    }
}

TEST_F(ProgramResources, ManifestNamesTheVersionAsksForCommonControlsSixAndNoElevation) {
    std::string manifest = Bytes(MAKEINTRESOURCEW(1), RT_MANIFEST);
    EXPECT_NE(manifest.find("name=\"Kavlo.Connect\" version=\"" KAVLO_PROGRAM_VERSION "\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos) << "no DPI awareness: Windows scales the windows";
}

// Without these Windows runs the program in the compatibility context of an older version.
TEST_F(ProgramResources, ManifestNamesEveryWindowsFromVistaToElevenAndKeepsTheSystemCodePage) {
    std::string manifest = Bytes(MAKEINTRESOURCEW(1), RT_MANIFEST);
    std::size_t section = manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    ASSERT_NE(section, std::string::npos);
    const struct {
        const char* windows;
        const char* id;
    } versions[] = {
        {"Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},     {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},         {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    for (const auto& version : versions)
        EXPECT_NE(manifest.find("<supportedOS Id=\"" + std::string(version.id) + "\"/>", section), std::string::npos)
            << "Windows " << version.windows;
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos) << "Kavlo.rdp is written in the system's code page";
}
