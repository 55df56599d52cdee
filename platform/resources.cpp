#include "platform/resources.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace sif {
namespace {

// Any stable non-null address identifies our one module.
const int kModuleTag = 0;

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

const res::StringResource* FindString(unsigned id) {
    const auto& bundle = res::kBundle;
    const res::StringResource* begin = bundle.strings;
    const res::StringResource* end = bundle.strings + bundle.stringCount;
    // The compiler writes the table sorted by id.
    const auto* it = std::lower_bound(
        begin, end, id, [](const res::StringResource& s, unsigned key) { return s.id < key; });
    return (it != end && it->id == id) ? it : nullptr;
}

// The entry of `items` with this id: dialogs and icons are few, in script
// order.
template <typename Resource>
const Resource* FindById(const Resource* items, std::size_t count, unsigned id) {
    const Resource* end = items + count;
    const Resource* it = std::find_if(items, end, [id](const Resource& r) { return r.id == id; });
    return it != end ? it : nullptr;
}

}  // namespace

HINSTANCE AfxGetResourceHandle() {
    return &kModuleTag;
}

int LoadStringA(HINSTANCE, UINT id, char* buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return 0;
    const res::StringResource* entry = FindString(id);
    if (entry == nullptr) {
        buffer[0] = '\0';
        return 0;
    }
    std::size_t length = std::strlen(entry->text);
    std::size_t count = std::min(length, static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, entry->text, count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

const res::DialogResource* FindDialogResource(unsigned id) {
    return FindById(res::kBundle.dialogs, res::kBundle.dialogCount, id);
}

const res::BinaryResource* FindBitmapResource(const char* name) {
    if (name == nullptr)
        return nullptr;
    const auto& bundle = res::kBundle;
    for (std::size_t i = 0; i < bundle.bitmapCount; ++i) {
        if (SameNameIgnoringCase(bundle.bitmaps[i].name, name))
            return &bundle.bitmaps[i];
    }
    return nullptr;
}

const res::BinaryResource* FindIconResource(unsigned id) {
    return FindById(res::kBundle.icons, res::kBundle.iconCount, id);
}

const res::BinaryResource* FindProgramIcon() {
    const auto& bundle = res::kBundle;
    const res::BinaryResource* lowest = nullptr;
    for (std::size_t i = 0; i < bundle.iconCount; ++i) {
        if (lowest == nullptr || bundle.icons[i].id < lowest->id)
            lowest = &bundle.icons[i];
    }
    return lowest;
}

}  // namespace sif
