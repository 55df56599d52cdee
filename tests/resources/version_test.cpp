// The version record of the program file.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/resources.h"

namespace {

TEST(VersionRecord, CarriesTheProgramsNamesAndNumbers) {
    const sif::res::VersionResource* v = sif::res::kBundle.version;
    ASSERT_NE(v, nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v->fileVersion[i], i == 2 ? 1u : 0u);
        EXPECT_EQ(v->productVersion[i], i == 2 ? 1u : 0u);
    }
    EXPECT_STREQ(v->translation, "040904E4");  // US English, code page 1252

    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < v->valueCount; ++i) {
        EXPECT_TRUE(values.emplace(v->values[i].key, v->values[i].value).second)
            << "duplicate " << v->values[i].key;
    }
    const std::map<std::string, std::string> expected = {
        {"FileDescription", "Sifteron"},
        {"FileVersion", "1.0"},
        {"InternalName", "Dravik"},
        {"OriginalFilename", "Dravik.EXE"},
        {"ProductName", "Dravik"},
        {"ProductVersion", "1.0"},
        {"CompanyName", ""},
        {"LegalTrademarks", ""},
    };
    for (const auto& [key, value] : expected) {
        SCOPED_TRACE(key);
        ASSERT_EQ(values.count(key), 1u);
        EXPECT_EQ(values[key], value);
    }
    ASSERT_EQ(values.count("LegalCopyright"), 1u);
    EXPECT_FALSE(values["LegalCopyright"].empty());
}

}  // namespace
