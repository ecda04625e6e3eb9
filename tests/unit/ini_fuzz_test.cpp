// Damaged and hostile files: a restore either restores or fails with one of its known messages.
#include "platform/failure.h"
#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "tests/support/settings_test_support.h"
#include "tests/unit/failure_of.h"

#include <windows.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::wstring kInvalidUtf8 = L"No mapping for the Unicode character exists in the target multi-byte code page";
const std::wstring kInvalidElement = L"Invalid property element: ";

// The dialog's bindings with a second check box in the middle, so a failure can follow assignments.
struct Form {
    explicit Form(const std::wstring& path) {
        for (FakeControl& control : controls) store.bindings.push_back({&control, {control.Property()}});
        store.path = path;
    }
    // Empty when both hold the same values, else the first difference.
    std::string Difference(const Form& other) const {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const bool same = controls[i].Kind() == PropertyKind::Boolean
                                  ? controls[i].checked == other.controls[i].checked
                                  : controls[i].text == other.controls[i].text;
            if (!same) {
                return "control " + std::to_string(i) + ": " + std::to_string(controls[i].checked) +
                       testing::PrintToString(controls[i].text.substr(0, 200)) + " vs " +
                       std::to_string(other.controls[i].checked) +
                       testing::PrintToString(other.controls[i].text.substr(0, 200));
            }
        }
        return {};
    }
    std::vector<FakeControl> controls{{L"CheckBox2", L"Checked", PropertyKind::Boolean},
                                      {L"Edit1", L"Text", PropertyKind::Text},
                                      {L"Edit2", L"Text", PropertyKind::Text},
                                      {L"CheckBox3", L"Checked", PropertyKind::Boolean},
                                      {L"Edit3", L"Text", PropertyKind::Text},
                                      {L"Edit4", L"Text", PropertyKind::Text},
                                      {L"Edit5", L"Text", PropertyKind::Text}};
    SettingsStore store;
};

bool HasLoneSurrogate(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (text[i] >= 0xD800 && text[i] <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

bool IsBooleanWord(std::wstring text) {
    for (wchar_t& c : text) c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
    return text == L"true" || text == L"false";
}

class IniFuzzTest : public testing::Test {
protected:
    std::mt19937 random{20240611};
    TempFolder folder;
    std::wstring path = folder.File(L"setup_a.ini");
    std::wstring copy_path = folder.File(L"copy.ini");

    std::size_t Below(std::size_t limit) {
        return limit == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
    }

    std::wstring RandomText(std::size_t maxLength) {
        static const std::wstring pieces[] = {
            L"a",   L"Z",    L"0", L"7", L" ", L"\\", L"\"", L"=", L";",      L"[",      L"]",
            L"\t",  L"\r\n", L"n", L"t", L"$", L".",  L":",  L"/", L"\u00E9", L"\u0627", L"\xD83D\xDE00",
            L"True"};
        std::wstring text;
        for (std::size_t length = Below(maxLength + 1); length > 0; --length) text += pieces[Below(std::size(pieces))];
        return text;
    }

    void FillRandomly(Form& form, std::size_t maxLength) {
        for (FakeControl& control : form.controls) {
            control.checked = Below(2) == 1;
            control.text = RandomText(maxLength);
        }
    }

    // A file as the store writes it, after checking that it restores to the values it was written from.
    std::string ValidFile(std::size_t maxLength) {
        Form source(path);
        FillRandomly(source, maxLength);
        source.store.WriteFileAnew(source.store.ReadValues());
        Form restored(path);
        restored.store.Restore();
        EXPECT_EQ(restored.Difference(source), "");
        return ReadBytes(path);
    }

    static std::string AsUtf16(const std::string& utf8File, bool big_endian) {
        const std::wstring text = DecodeIniBytes(std::vector<std::uint8_t>(utf8File.begin(), utf8File.end()), nullptr);
        std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t c : text) {
            const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
            bytes += big_endian ? high : low;
            bytes += big_endian ? low : high;
        }
        return bytes;
    }

    void Mutate(std::string& bytes) {
        static const std::string marks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
        static const std::string badUtf8[] = {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                              "\xFF",     "\xE2\x82",     "\x80"};
        static const std::string badBooleans[] = {"yes", "1", "", "\"\"", "TRUE", "maybe", "\"0x1\"", "$1"};
        static const std::string versions[] = {"0", "1", "7", "x", "-1", "\"2\"", ""};
        const std::size_t at = Below(bytes.size() + 1);
        switch (Below(11)) {
            case 0:
                if (!bytes.empty()) bytes[Below(bytes.size())] ^= static_cast<char>(1 << Below(8));
                break;
            case 1:
                bytes.insert(at, 1, static_cast<char>(Below(256)));
                break;
            case 2:
                bytes.erase(at, 1 + Below(16));
                break;
            case 3:
                bytes.insert(at, marks[Below(std::size(marks))]);
                break;
            case 4:
                bytes.insert(at, 1 + Below(3), '\0');
                break;
            case 5:
                bytes.insert(at & ~std::size_t{1}, Below(2) ? std::string("\x00\xD8", 2) : std::string("\xDC\x00", 2));
                break;
            case 6:
                bytes.insert(at, badUtf8[Below(std::size(badUtf8))]);
                break;
            case 7: {
                const std::size_t word = bytes.find(Below(2) ? "\"True\"" : "\"False\"", at);
                if (word != std::string::npos)
                    bytes.replace(word, bytes[word + 1] == 'T' ? 6 : 7, badBooleans[Below(std::size(badBooleans))]);
                break;
            }
            case 8: {
                const std::size_t version = bytes.find("Version=2");
                if (version != std::string::npos) bytes.replace(version + 8, 1, versions[Below(std::size(versions))]);
                break;
            }
            case 9: {
                const std::size_t from = Below(bytes.size()),
                                  length = Below(std::min<std::size_t>(bytes.size() - from, 200));
                bytes.insert(at, bytes.substr(from, length));
                break;
            }
            default:
                bytes.resize(at);
                break;
        }
    }

    // Restores from `bytes`; checks the outcome is one the rules allow.
    void ExpectCleanRestore(const std::string& bytes) {
        WriteBytes(path, bytes);
        Form form(path);
        for (FakeControl& control : form.controls) control.text = L"before";
        std::optional<std::wstring> failure;
        try {
            form.store.Restore();
        } catch (const Failure& caught) {
            failure = caught.message();
        }
        std::size_t lastAssigned = 0;
        bool anyAssigned = false;
        for (std::size_t i = 0; i < form.controls.size(); ++i) {
            if (form.controls[i].assignments > 0) lastAssigned = i, anyAssigned = true;
        }

        if (!failure) {
            // What was restored is stored and restored again unchanged.
            for (const FakeControl& control : form.controls) {
                if (HasLoneSurrogate(control.text)) return;
            }
            form.store.path = copy_path;
            form.store.WriteFileAnew(form.store.ReadValues());
            Form again(copy_path);
            again.store.Restore();
            EXPECT_EQ(again.Difference(form), "");
        } else if (*failure == kInvalidUtf8) {
            EXPECT_FALSE(anyAssigned);
        } else if (failure->starts_with(kInvalidElement)) {
            EXPECT_FALSE(IsBooleanWord(failure->substr(kInvalidElement.size()))) << testing::PrintToString(*failure);
            // The failing binding is a check box that was not assigned, after every binding that was.
            bool failingFound = false;
            for (std::size_t i = anyAssigned ? lastAssigned + 1 : 0; i < form.controls.size(); ++i) {
                failingFound = failingFound ||
                               (form.controls[i].Kind() == PropertyKind::Boolean && form.controls[i].assignments == 0);
            }
            EXPECT_TRUE(failingFound) << testing::PrintToString(*failure);
        } else {
            ADD_FAILURE() << "unexpected failure " << testing::PrintToString(*failure);
        }
    }
};

TEST_F(IniFuzzTest, MutatedFilesRestoreOrFailCleanly) {
    for (int round = 0; round < 60; ++round) {
        const std::string valid = ValidFile(12);
        std::string seeds[] = {valid, AsUtf16(valid, false), AsUtf16(valid, true)};
        for (const std::string& seed : seeds) {
            for (int variant = 0; variant < 3; ++variant) {
                std::string bytes = seed;
                for (std::size_t steps = 1 + Below(3); steps > 0; --steps) Mutate(bytes);
                ExpectCleanRestore(bytes);
            }
        }
    }
}

TEST_F(IniFuzzTest, GarbageRestoresOrFailsCleanly) {
    static const std::string prefixes[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF",
                                           "[Edit1: TcxPropertiesStoreComponent]\r\n"};
    for (int round = 0; round < 150; ++round) {
        std::string bytes = prefixes[Below(std::size(prefixes))];
        for (std::size_t length = Below(3000); length > 0; --length) bytes += static_cast<char>(Below(256));
        ExpectCleanRestore(bytes);
    }
}

TEST_F(IniFuzzTest, HugeLinesSectionsAndFiles) {
    // A value ten times what a user can type into a field, written and read back whole.
    Form source(path);
    FillRandomly(source, 4);
    source.controls[4].text.clear();
    while (source.controls[4].text.size() < 300000) source.controls[4].text += RandomText(100);
    source.store.WriteFileAnew(source.store.ReadValues());
    Form restored(path);
    restored.store.Restore();
    EXPECT_EQ(restored.Difference(source), "");
    const std::string longLine = ReadBytes(path);
    ASSERT_GT(longLine.size(), 300000u);

    // A hundred thousand repeated keys, 1 MB values quoted and not, then forty thousand sections: several MB.
    std::string big = "\xEF\xBB\xBF[Main]\r\nVersion=2\r\n[Edit1: TcxPropertiesStoreComponent]\r\nText=\"first\"\r\n";
    for (int i = 0; i < 100000; ++i) big += i % 2 ? "Text=\"later\"\r\n" : "tExT=7\r\n";
    big += "[Edit2: TcxPropertiesStoreComponent]\r\nText=\"" + std::string(1000000, '9') + "\"\r\n";
    big += "[Edit5: TcxPropertiesStoreComponent]\r\nText=" + std::string(1000000, '7') + "\r\n";
    for (int i = 0; i < 40000; ++i) {
        big += "[Edit" + std::to_string(i) + ": TcxPropertiesStoreComponent]\r\n=\r\nText=\"" + std::to_string(i) +
               "\"\r\n";
    }
    ASSERT_GT(big.size(), 4000000u);
    // Read by the file's reader itself: the whole text, every entry of the forty thousand sections indexed.
    const auto none = [](std::wstring_view) { return std::optional<std::wstring>(); };
    IniReader reader(std::vector<std::uint8_t>(big.begin(), big.end()),
                     {[](std::string_view bytes) { return std::wstring(bytes.begin(), bytes.end()); }, none, none});
    reader.ReadVersion();
    const auto text = [&](const wchar_t* object) {
        return reader.ReadProperty(object, L"TcxPropertiesStoreComponent", L"Text").text;
    };
    EXPECT_EQ(text(L"Edit1"), L"first");
    EXPECT_EQ(text(L"Edit2"), std::wstring(1000000, L'9'));
    EXPECT_EQ(text(L"Edit3"), L"3");  // the first [Edit3: ...] of the forty thousand
    EXPECT_EQ(text(L"Edit5"), std::wstring(1000000, L'7'));
    // The store does not even read a file that size: no settings file is one.
    Form bigForm(path);
    WriteBytes(path, big);
    EXPECT_EQ(FailureOf([&] { bigForm.store.Restore(); }).rfind(L"Cannot open file \"", 0), 0u);
    for (const FakeControl& control : bigForm.controls) EXPECT_EQ(control.assignments, 0);

    for (const std::string& seed : {longLine}) {
        for (int variant = 0; variant < 3; ++variant) {
            std::string bytes = seed;
            Mutate(bytes);
            ExpectCleanRestore(bytes);
        }
    }
}

}  // namespace
