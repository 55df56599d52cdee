// A Windows file that includes <windows.h> first and then every header of our
// layer that the engine and the command line use: ours must take its macros,
// and our functions must stay apart from the Win32 ones of the same name.
#include <windows.h>

#include "platform/file_io.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/resources.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "tests/support/recording_message_sink.h"

namespace {

static_assert(!std::is_same_v<decltype(&::MessageBoxA), decltype(&sif::MessageBoxA)>);
static_assert(!std::is_same_v<decltype(&::LoadStringA), decltype(&sif::LoadStringA)>);
static_assert(!std::is_same_v<decltype(&::OpenFile), decltype(&sif::OpenFile)>);

TEST(WindowsHeader, OurMessageBoxGoesToOurSink) {
    sif::test::RecordingMessageSink sink;
    EXPECT_EQ(sif::MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
    EXPECT_EQ(sink.Lines(), std::vector<std::string>{"caption: text"});
}

TEST(WindowsHeader, OurLoadStringReadsOurCatalogue) {
    char text[40];
    EXPECT_EQ(sif::LoadStringA(sif::AfxGetResourceHandle(), 3039, text, sizeof text), 7);
    EXPECT_STREQ(text, "Meldung");
}

TEST(WindowsHeader, OurFileServicesTakeTheWindowsConstants) {
    sif::OFSTRUCT of{};
    EXPECT_EQ(sif::OpenFile("", &of, OF_READ), HFILE_ERROR);
}

}  // namespace
