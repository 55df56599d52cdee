// What Windows itself reads from sifteron-cli.exe: the manifest, icon 102 and
// the version record, linked in from res/sifteron.rc by windres.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_process.h"

namespace {

class ProgramResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExA(SIFTERON_CLI_PATH, nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    std::string Resource(LPCSTR type, int id) const {
        HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
        if (found == nullptr) {
            return "";
        }
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, ManifestAsksForCommonControls6DpiAwarenessAndWindows10) {
    const std::string manifest = Resource(RT_MANIFEST, 1);
    for (const char* part : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "PerMonitorV2", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

TEST_F(ProgramResources, CarriesTheProgramIcon) {
    EXPECT_FALSE(Resource(RT_GROUP_ICON, 102).empty());
}

TEST_F(ProgramResources, VersionRecordNamesTheProduct) {
    std::vector<char> version(GetFileVersionInfoSizeA(SIFTERON_CLI_PATH, nullptr));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoA(SIFTERON_CLI_PATH, 0, static_cast<DWORD>(version.size()),
                                    version.data()));
    struct Entry {
        const char* key;
        const char* value;
    };
    for (const Entry& e : {Entry{"FileDescription", "Sifteron"}, Entry{"ProductName", "Dravik"},
                           Entry{"ProductVersion", "1.0"}}) {
        const std::string query = std::string("\\StringFileInfo\\040904E4\\") + e.key;
        char* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(
            VerQueryValueA(version.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << e.key;
        EXPECT_STREQ(text, e.value) << e.key;
    }
}

}  // namespace
