// A backend that states only the windows themselves: what the seam supplies
// for everything else.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/framework/window_backend.h"

namespace sif::test {
namespace {

// Each control is a text and a check state; nothing else is kept.
class TextOnlyBackend : public WindowBackend {
  public:
    HWND CreateDialogWindow(const res::DialogResource&, HWND) override { return nullptr; }
    void DestroyWindow(HWND) override {}
    void ShowWindow(HWND, int) override {}
    bool IsWindowVisible(HWND) const override { return false; }
    void EnableWindow(HWND, bool) override {}
    bool IsWindowEnabled(HWND) const override { return true; }
    HWND GetDlgItem(HWND, int) const override { return nullptr; }
    std::string GetWindowTextA(HWND window) const override {
        auto it = texts_.find(window);
        return it != texts_.end() ? it->second : std::string();
    }
    void SetWindowTextA(HWND window, const std::string& text) override { texts_[window] = text; }
    int GetCheck(HWND) const override { return 0; }
    void SetCheck(HWND, int) override {}
    void SetWindowSize(HWND, int, int) override {}

  private:
    std::map<HWND, std::string> texts_;
};

HWND Handle(int n) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(n));
}

TEST(BackendDefaults, FileNamesAreTheSingleByteText) {
    TextOnlyBackend backend;
    backend.SetWindowFileName(Handle(1), "C:\\Daten\\\xE4nderung.txt");
    EXPECT_EQ(backend.GetWindowTextA(Handle(1)), "C:\\Daten\\\xE4nderung.txt");
    backend.SetWindowTextA(Handle(2), "Liste.txt");
    EXPECT_EQ(backend.GetWindowFileName(Handle(2)), "Liste.txt");
    EXPECT_TRUE(backend.IsWindowTextExact(Handle(2)));
}

TEST(BackendDefaults, LoopsReturnAtOnceWithThePostedCode) {
    TextOnlyBackend backend;
    EXPECT_EQ(backend.RunMessageLoop(), 0);
    backend.PostQuitMessage(3);
    backend.RunModalLoop(Handle(1));
    EXPECT_EQ(backend.RunMessageLoop(), 3);
}

TEST(BackendDefaults, BoxesAreStderrLinesAndTheFileDialogCancels) {
    TextOnlyBackend backend;
    testing::internal::CaptureStderr();
    const int answer = backend.ShowMessageBox(nullptr, "Quelldatei fehlt", "Fehler", 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fehler: Quelldatei fehlt\n");
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(backend.ChooseOpenFile(OpenFileRequest{}), std::nullopt);
}

}  // namespace
}  // namespace sif::test
