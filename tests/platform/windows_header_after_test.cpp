// A Windows file that includes every header of our window layer first and
// <windows.h> and <commdlg.h> after them: the later macros must not change
// what our names mean.
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
#include "platform/window_styles.h"

#include <windows.h>
// <commdlg.h> needs <windows.h> before it.
#include <commdlg.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/recording_message_sink.h"

namespace {

TEST(WindowsHeaderAfterOurs, MessageMapsRouteTheWindowsValues) {
    EXPECT_EQ(sif::kCommandMessage, static_cast<sif::UINT>(WM_COMMAND));
    EXPECT_EQ(sif::kClickedNotification, static_cast<sif::UINT>(BN_CLICKED));
}

TEST(WindowsHeaderAfterOurs, OurWindowNamesSurviveTheARenames) {
    sif::test::RecordingMessageSink sink;
    sif::CWnd window;
    EXPECT_EQ(window.MessageBox("text", "caption", MB_OK), IDOK);
    EXPECT_EQ(sink.Lines(), std::vector<std::string>{"caption: text"});
    EXPECT_FALSE(sif::GetOpenFileName(sif::OpenFileRequest{}).has_value());
}

}  // namespace
