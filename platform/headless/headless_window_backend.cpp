#include "platform/headless/headless_window_backend.h"

#include <algorithm>
#include <cctype>

#include "platform/framework/code_page.h"
#include "platform/window_styles.h"

namespace sif::headless {

struct HeadlessWindowBackend::Window {
    Window* dialog = nullptr;  // the dialog it belongs to (itself for a dialog)
    int id = -1;
    std::string className;  // "Button", "Edit", "Static"; empty for a dialog
    unsigned style = 0;
    std::string text;  // UTF-8, as a toolkit keeps Unicode
    int check = BST_UNCHECKED;
    bool visible = false;
    bool enabled = true;
    bool destroyed = false;
    int width = 0;
    int height = 0;
    std::optional<ButtonBitmaps> bitmaps;
    std::vector<std::unique_ptr<Window>> controls;  // a dialog's, in template order
};

namespace {

using Window = HeadlessWindowBackend::Window;

HWND HandleOf(const Window* window) {
    return reinterpret_cast<HWND>(const_cast<Window*>(window));
}

bool IsButton(const Window& window) {
    const std::string& name = window.className;
    return name.size() == 6 && std::equal(name.begin(), name.end(), "button", [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

bool IsCheckable(const Window& window) {
    if (!IsButton(window))
        return false;
    switch (window.style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return true;
        default:
            return false;
    }
}

bool IsAutoRadio(const Window& window) {
    return IsButton(window) && (window.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// Clears the automatic radio buttons of `control`'s group: from the last
// control with WS_GROUP up to it, to the next one with WS_GROUP.
void ClearRadioGroup(Window& dialog, const Window& control) {
    auto& controls = dialog.controls;
    auto at = std::find_if(controls.begin(), controls.end(),
                           [&](const auto& c) { return c.get() == &control; });
    auto first = at;
    while (first != controls.begin() && !((*first)->style & WS_GROUP))
        --first;
    for (auto it = first; it != controls.end(); ++it) {
        if (it != first && ((*it)->style & WS_GROUP))
            break;
        if (IsAutoRadio(**it))
            (*it)->check = BST_UNCHECKED;
    }
}

}  // namespace

HeadlessWindowBackend::HeadlessWindowBackend() = default;
HeadlessWindowBackend::~HeadlessWindowBackend() = default;

HeadlessWindowBackend::Window* HeadlessWindowBackend::Find(HWND handle) const {
    // Handles are checked, not trusted: a stale one finds nothing.
    for (const auto& dialog : dialogs_) {
        if (dialog->destroyed)
            continue;
        if (HandleOf(dialog.get()) == handle)
            return dialog.get();
        for (const auto& control : dialog->controls) {
            if (HandleOf(control.get()) == handle && !control->destroyed)
                return control.get();
        }
    }
    return nullptr;
}

HWND HeadlessWindowBackend::CreateDialogWindow(const res::DialogResource& resource, HWND) {
    auto dialog = std::make_unique<Window>();
    dialog->dialog = dialog.get();
    dialog->style = resource.style;
    dialog->text = Cp1252ToUtf8(resource.caption != nullptr ? resource.caption : "");
    dialog->enabled = (resource.style & WS_DISABLED) == 0;
    for (std::size_t i = 0; i < resource.controlCount; ++i) {
        const res::ControlResource& c = resource.controls[i];
        auto control = std::make_unique<Window>();
        control->dialog = dialog.get();
        control->id = c.id;
        control->className = c.className;
        control->style = c.style;
        control->text = Cp1252ToUtf8(c.text != nullptr ? c.text : "");
        control->visible = (c.style & WS_VISIBLE) != 0;
        control->enabled = (c.style & WS_DISABLED) == 0;
        dialog->controls.push_back(std::move(control));
    }
    dialogs_.push_back(std::move(dialog));
    return HandleOf(dialogs_.back().get());
}

void HeadlessWindowBackend::Destroy(Window& window) {
    if (focus_ == HandleOf(&window))
        focus_ = nullptr;
    window.destroyed = true;
    window.visible = false;
}

void HeadlessWindowBackend::DestroyWindow(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr)
        return;
    DispatchDestroy(handle);
    if (window->dialog != window) {
        DispatchDetach(handle);
        Destroy(*window);
        return;
    }
    for (const auto& control : window->controls) {
        DispatchDetach(HandleOf(control.get()));
        Destroy(*control);
    }
    DispatchDetach(handle);
    Destroy(*window);
}

void HeadlessWindowBackend::ShowWindow(HWND handle, int showCommand) {
    if (Window* window = Find(handle))
        window->visible = showCommand != SW_HIDE;
}

bool HeadlessWindowBackend::IsWindowVisible(HWND handle) const {
    const Window* window = Find(handle);
    // A control shows only while its dialog does.
    return window != nullptr && window->visible && window->dialog->visible;
}

void HeadlessWindowBackend::EnableWindow(HWND handle, bool enable) {
    if (Window* window = Find(handle))
        window->enabled = enable;
}

bool HeadlessWindowBackend::IsWindowEnabled(HWND handle) const {
    const Window* window = Find(handle);
    return window != nullptr && window->enabled;
}

HWND HeadlessWindowBackend::GetDlgItem(HWND dialogHandle, int id) const {
    const Window* dialog = Find(dialogHandle);
    if (dialog == nullptr || dialog->dialog != dialog || id == -1)
        return nullptr;
    for (const auto& control : dialog->controls) {
        if (control->id == id && !control->destroyed)
            return HandleOf(control.get());
    }
    return nullptr;
}

std::string HeadlessWindowBackend::GetWindowTextA(HWND handle) const {
    return Utf8ToCp1252(TextUtf8(handle));
}

bool HeadlessWindowBackend::IsWindowTextExact(HWND handle) const {
    bool exact = true;
    Utf8ToCp1252(TextUtf8(handle), &exact);
    return exact;
}

void HeadlessWindowBackend::SetWindowTextA(HWND handle, const std::string& text) {
    if (Window* window = Find(handle))
        window->text = Cp1252ToUtf8(text);
}

std::string HeadlessWindowBackend::GetWindowFileName(HWND handle) const {
    return TextUtf8(handle);  // file names are UTF-8 bytes here
}

void HeadlessWindowBackend::SetWindowFileName(HWND handle, const std::string& fileName) {
    if (Window* window = Find(handle))
        window->text = fileName;
}

int HeadlessWindowBackend::GetCheck(HWND button) const {
    const Window* window = Find(button);
    return window != nullptr && IsCheckable(*window) ? window->check : BST_UNCHECKED;
}

void HeadlessWindowBackend::SetCheck(HWND button, int state) {
    // As BM_SETCHECK: the other buttons of a group keep their state.
    Window* window = Find(button);
    if (window != nullptr && IsCheckable(*window))
        window->check = state;
}

void HeadlessWindowBackend::SetWindowSize(HWND handle, int width, int height) {
    if (Window* window = Find(handle)) {
        window->width = width;
        window->height = height;
    }
}

void HeadlessWindowBackend::SetButtonBitmaps(HWND button, const ButtonBitmaps& bitmaps) {
    if (Window* window = Find(button))
        window->bitmaps = bitmaps;
}

void HeadlessWindowBackend::FocusFirstTabStop(HWND dialogHandle) {
    const Window* dialog = Find(dialogHandle);
    if (dialog == nullptr)
        return;
    for (const auto& control : dialog->controls) {
        if ((control->style & WS_TABSTOP) && control->visible && control->enabled) {
            focus_ = HandleOf(control.get());
            return;
        }
    }
}

void HeadlessWindowBackend::SetInterfaceLanguage(const std::string& languageCode) {
    interfaceLanguage_ = languageCode;
}

int HeadlessWindowBackend::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT) {
    shownBoxes_.push_back({owner, caption != nullptr ? caption : "", text != nullptr ? text : ""});
    return IDOK;
}

std::optional<std::string> HeadlessWindowBackend::ChooseOpenFile(const OpenFileRequest& request) {
    fileRequests_.push_back(request);
    return std::nullopt;
}

void HeadlessWindowBackend::Click(HWND handle) {
    Window* control = Find(handle);
    if (control == nullptr || control->dialog == control)
        return;
    Window& dialog = *control->dialog;
    if (!control->visible || !control->enabled || !dialog.visible || !dialog.enabled)
        return;
    focus_ = handle;
    if (!IsButton(*control))
        return;
    switch (control->style & BS_TYPEMASK) {
        case BS_AUTOCHECKBOX:
            control->check = control->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            break;
        case BS_AUTO3STATE:
            control->check = (control->check + 1) % 3;
            break;
        case BS_AUTORADIOBUTTON:
            ClearRadioGroup(dialog, *control);
            control->check = BST_CHECKED;
            break;
        default:
            break;
    }
    DispatchCommand(HandleOf(&dialog), control->id, BN_CLICKED);
}

void HeadlessWindowBackend::Cancel(HWND dialogHandle) {
    const Window* dialog = Find(dialogHandle);
    if (dialog != nullptr && dialog->dialog == dialog && dialog->visible && dialog->enabled)
        DispatchCommand(dialogHandle, IDCANCEL, BN_CLICKED);
}

void HeadlessWindowBackend::Type(HWND handle, const std::string& utf8) {
    if (Window* window = Find(handle))
        window->text = utf8;
}

std::string HeadlessWindowBackend::TextUtf8(HWND handle) const {
    const Window* window = Find(handle);
    return window != nullptr ? window->text : std::string();
}

const ButtonBitmaps* HeadlessWindowBackend::BitmapsOf(HWND button) const {
    const Window* window = Find(button);
    return window != nullptr && window->bitmaps ? &*window->bitmaps : nullptr;
}

int HeadlessWindowBackend::Width(HWND handle) const {
    const Window* window = Find(handle);
    return window != nullptr ? window->width : 0;
}

int HeadlessWindowBackend::Height(HWND handle) const {
    const Window* window = Find(handle);
    return window != nullptr ? window->height : 0;
}

}  // namespace sif::headless
