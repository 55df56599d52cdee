#include "platform/framework/field_label.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/window_styles.h"

namespace sif {
namespace {

// Window class names match without regard to case.
bool IsStaticClass(std::string_view name) {
    constexpr std::string_view kStatic = "static";
    return std::equal(name.begin(), name.end(), kStatic.begin(), kStatic.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

bool IsTextLabel(const res::ControlResource& control) {
    if (control.className == nullptr || !IsStaticClass(control.className))
        return false;
    const unsigned type = control.style & SS_TYPEMASK;
    return (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && control.text != nullptr &&
           control.text[0] != '\0';
}

bool Overlap(int start1, int length1, int start2, int length2) {
    return start1 < start2 + length2 && start2 < start1 + length1;
}

}  // namespace

int FindFieldLabel(const res::DialogResource& dialog, std::size_t field) {
    if (field >= dialog.controlCount)
        return -1;
    const res::ControlResource& f = dialog.controls[field];
    int left = -1, leftGap = kMaxLabelGap + 1;
    int above = -1, aboveGap = kMaxLabelGap + 1;
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const res::ControlResource& l = dialog.controls[i];
        if (i == field || !IsTextLabel(l))
            continue;
        if (Overlap(l.y, l.h, f.y, f.h) && l.x + l.w <= f.x && f.x - (l.x + l.w) < leftGap) {
            left = static_cast<int>(i);
            leftGap = f.x - (l.x + l.w);
        }
        if (Overlap(l.x, l.w, f.x, f.w) && l.y + l.h <= f.y && f.y - (l.y + l.h) < aboveGap) {
            above = static_cast<int>(i);
            aboveGap = f.y - (l.y + l.h);
        }
    }
    return left >= 0 ? left : above;
}

}  // namespace sif
