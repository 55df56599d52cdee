// Answers the real boxes and dialogs that this thread opens, as a user
// would: a WH_CBT hook sees each one activated, and a timer that the box's
// own modal loop runs records what it shows and then answers it. A box that
// the hook missed or the answer left open is closed on a deadline and
// counted, so a test never waits for a user.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sif::test {

// How a box is answered: its OK button, the Escape key, the close box, or
// whatever the test does with it (it must close it).
enum class Answer { Ok, Escape, CloseBox, Custom };

// What an open box showed.
struct AnsweredBox {
    std::string caption;
    std::string text;  // a message box's text, Windows-1252
    ::HWND owner = nullptr;
    bool watchedEnabled = true;  // the window given to the answerer, while the box was open
};

class BoxAnswerer {
  public:
    // Answers every box with `answer` (Custom: calls `custom` with the box).
    explicit BoxAnswerer(::HWND watched, Answer answer = Answer::Ok,
                         std::function<void(::HWND)> custom = {});
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    const std::vector<AnsweredBox>& seen() const { return seen_; }
    // Boxes that the hook did not report, and boxes that the answer did not
    // close, each closed on a deadline.
    int missed() const { return missed_; }
    int stuck() const { return stuck_; }

  private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTick(::HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    void AnswerBox(::HWND box);

    ::HWND watched_;
    Answer answer_;
    std::function<void(::HWND)> custom_;
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<::HWND> activated_;  // reported by the hook, not yet answered
    std::set<::HWND> answered_;      // until destroyed: a box is activated more than once
    std::vector<AnsweredBox> seen_;
    std::map<::HWND, DWORD> openSince_;
    int missed_ = 0;
    int stuck_ = 0;
};

// A window's text in Windows-1252, the dialogs' code page.
std::string Text1252(::HWND window);

}  // namespace sif::test
