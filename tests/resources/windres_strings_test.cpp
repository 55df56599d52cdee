// windres and sif_rcc compile the one script: Windows' own string lookup in
// the program's resources must give every text that our lookup gives.
#include <gtest/gtest.h>

#include <string>

#include "platform/resources.h"

namespace {

TEST(WindresStrings, MatchTheCompiledCatalogue) {
    const sif::res::ResourceBundle& bundle = sif::res::kBundle;
    ASSERT_GT(bundle.stringCount, 0u);
    for (std::size_t i = 0; i < bundle.stringCount; ++i) {
        const sif::res::StringResource& entry = bundle.strings[i];
        char text[512];
        const int length = ::LoadStringA(GetModuleHandleA(nullptr), entry.id, text, sizeof text);
        EXPECT_EQ(std::string(text, static_cast<std::size_t>(length)), entry.text) << entry.id;
    }
}

}  // namespace
