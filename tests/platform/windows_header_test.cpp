// A Windows file that includes <windows.h> and <commdlg.h> first and then
// every header of our layer: ours must take their macros, and our functions
// must stay apart from the Win32 ones of the same name. The other order is in
// windows_header_after_test.cpp.
#include <windows.h>
// <commdlg.h> needs <windows.h> before it.
#include <commdlg.h>

#include "platform/file_io.h"
#include "platform/framework/afx_types.h"
#include "platform/framework/bitmap_button.h"
#include "platform/framework/bitmap_info.h"
#include "platform/framework/code_page.h"
#include "platform/framework/dialog.h"
#include "platform/framework/dialog_font.h"
#include "platform/framework/dialog_units.h"
#include "platform/framework/file_dialog.h"
#include "platform/framework/message_map.h"
#include "platform/framework/text_viewer.h"
#include "platform/framework/win_app.h"
#include "platform/framework/window_backend.h"
#include "platform/framework/wnd.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "platform/window_styles.h"

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

TEST(WindowsHeader, OurWindowNamesSurviveTheARenames) {
    // MessageBox and GetOpenFileName are macros here, naming our A forms.
    sif::test::RecordingMessageSink sink;
    sif::CWnd window;
    EXPECT_EQ(window.MessageBox("text", "caption", MB_OK), IDOK);
    EXPECT_EQ(sink.Lines(), std::vector<std::string>{"caption: text"});
    EXPECT_FALSE(sif::GetOpenFileName(sif::OpenFileRequest{}).has_value());
}

TEST(WindowsHeader, OurFileServicesTakeTheWindowsConstants) {
    sif::OFSTRUCT of{};
    EXPECT_EQ(sif::OpenFile("", &of, OF_READ), HFILE_ERROR);
}

}  // namespace
