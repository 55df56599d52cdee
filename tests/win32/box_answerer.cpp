#include "tests/win32/box_answerer.h"

#include <algorithm>

namespace sif::test {
namespace {

// One answerer at a time: hooks and timer procedures take no context.
BoxAnswerer* g_answerer = nullptr;

// A message box's text is the static control with this id.
constexpr int kMessageBoxText = 0xFFFF;
// A box still open this long after it appeared is closed and counted.
constexpr DWORD kDeadlineMs = 5000;

bool IsDialogWindow(::HWND window) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK CollectBox(::HWND window, ::LPARAM list) {
    if (IsWindowVisible(window) && IsDialogWindow(window))
        reinterpret_cast<std::vector<::HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

std::string Text1252(::HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(GetWindowTextW(window, wide.data(), length + 1)));
    if (wide.empty())
        return {};
    const int size = WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

BoxAnswerer::BoxAnswerer(::HWND watched, Answer answer, std::function<void(::HWND)> custom)
    : watched_(watched), answer_(answer), custom_(std::move(custom)) {
    g_answerer = this;
    hook_ = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
    timer_ = SetTimer(nullptr, 0, 20, OnTick);
}

BoxAnswerer::~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    g_answerer = nullptr;
}

LRESULT CALLBACK BoxAnswerer::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    BoxAnswerer* self = g_answerer;
    auto window = reinterpret_cast<::HWND>(wParam);
    if (self != nullptr && code == HCBT_ACTIVATE && window != self->watched_ &&
        IsDialogWindow(window) && self->answered_.count(window) == 0 &&
        std::find(self->activated_.begin(), self->activated_.end(), window) ==
            self->activated_.end())
        self->activated_.push_back(window);
    if (self != nullptr && code == HCBT_DESTROYWND)
        self->answered_.erase(window);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK BoxAnswerer::OnTick(::HWND, UINT, UINT_PTR, DWORD) {
    if (g_answerer != nullptr)
        g_answerer->Tick();
}

void BoxAnswerer::Tick() {
    while (!activated_.empty()) {
        ::HWND box = activated_.front();
        activated_.erase(activated_.begin());
        if (IsWindow(box)) {
            answered_.insert(box);
            AnswerBox(box);
        }
    }
    std::vector<::HWND> open;
    EnumThreadWindows(GetCurrentThreadId(), CollectBox, reinterpret_cast<::LPARAM>(&open));
    std::map<::HWND, DWORD> since;
    const DWORD now = GetTickCount();
    for (::HWND box : open) {
        if (box == watched_)
            continue;
        auto found = openSince_.find(box);
        since[box] = found != openSince_.end() ? found->second : now;
        if (now - since[box] > kDeadlineMs) {
            ++(answered_.count(box) != 0 ? stuck_ : missed_);
            PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            since[box] = now;
        }
    }
    openSince_ = std::move(since);
}

void BoxAnswerer::AnswerBox(::HWND box) {
    AnsweredBox seen;
    seen.caption = Text1252(box);
    if (::HWND text = GetDlgItem(box, kMessageBoxText); text != nullptr)
        seen.text = Text1252(text);
    seen.owner = GetWindow(box, GW_OWNER);
    seen.watchedEnabled = IsWindowEnabled(watched_) != FALSE;
    seen_.push_back(seen);
    switch (answer_) {
        case Answer::Ok:
            SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            break;
        case Answer::Escape: {
            // Through the box's own loop, as a key press arrives.
            ::HWND focus = GetFocus();
            PostMessageW(focus != nullptr && IsChild(box, focus) ? focus : box, WM_KEYDOWN,
                         VK_ESCAPE, 0x00010001);
            break;
        }
        case Answer::CloseBox:
            PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Answer::Custom:
            custom_(box);
            break;
    }
}

}  // namespace sif::test
