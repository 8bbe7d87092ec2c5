#include "iconextract/module/module_icon_group.h"

#include <cstring>

#include "iconextract/measure_icon_image.h"
#include "iconextract/module/grpicondir.h"
#include "platform/byte_order.h"
#include "platform/scoped_handles.h"

IconGroupSearch g_iconGroupSearch{};

namespace {

void ReleaseFoundName() {
    if (g_iconGroupSearch.foundName != nullptr && !IS_INTRESOURCE(g_iconGroupSearch.foundName)) {
        HeapFree(GetProcessHeap(), 0, g_iconGroupSearch.foundName);
    }
    g_iconGroupSearch.foundName = nullptr;
}

// The bytes of a resource, valid while the module stays loaded; none when it cannot be had.
const uint8_t* LockedResourceBytes(HMODULE module, HRSRC resource) {
    if (resource == nullptr) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    return loaded == nullptr ? nullptr : static_cast<const uint8_t*>(LockResource(loaded));
}

// Copies the RT_ICON resource `id` into an image: its length is the resource's own length,
// whatever the group entry claims.
bool ReadModuleIconImage(HMODULE module, uint16_t id, IconImage* image) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON);
    HGLOBAL loaded = resource == nullptr ? nullptr : LoadResource(module, resource);
    if (loaded == nullptr || !AllocateIconImageBytes(image, SizeofResource(module, resource))) {
        return false;
    }
    const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    if (bytes == nullptr) {
        return false;
    }
    std::memcpy(image->bytes, bytes, image->byteCount);
    return MeasureIconImage(image);
}

}  // namespace

IconGroupSearchScope::IconGroupSearchScope(int32_t wantedIndex) {
    ReleaseFoundName();
    g_iconGroupSearch.wantedIndex = wantedIndex;
    g_iconGroupSearch.groupCount = 0;
}

IconGroupSearchScope::~IconGroupSearchScope() { ReleaseFoundName(); }

BOOL CALLBACK OnIconGroupName(HMODULE /*module*/, LPCSTR /*type*/, LPSTR name, LONG_PTR /*param*/) {
    g_iconGroupSearch.groupCount += 1;
    if (g_iconGroupSearch.groupCount != g_iconGroupSearch.wantedIndex || name == nullptr) {
        return TRUE;
    }
    if (IS_INTRESOURCE(name)) {
        g_iconGroupSearch.foundName = name;
        return TRUE;
    }
    // The enumeration's text lives only during the callback. Without memory for the copy no
    // name is captured, and reading the group then fails.
    size_t length = std::strlen(name) + 1;
    void* copy = HeapAlloc(GetProcessHeap(), 0, length);
    if (copy != nullptr) {
        std::memcpy(copy, name, length);
        g_iconGroupSearch.foundName = static_cast<LPSTR>(copy);
    }
    return TRUE;
}

IconImageSet* ReadModuleIconGroup(const char* path, LPCSTR groupName) {
    ScopedModule module(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module.IsValid() || groupName == nullptr) {
        return nullptr;
    }
    HRSRC group = FindResourceA(module.Get(), groupName, RT_GROUP_ICON);
    const uint8_t* directory = LockedResourceBytes(module.Get(), group);
    if (directory == nullptr) {
        return nullptr;
    }
    // The directory must hold the entries its count claims: nothing past the resource is read.
    uint32_t directoryBytes = SizeofResource(module.Get(), group);
    if (directoryBytes < kGroupDirBytes) {
        return nullptr;
    }
    uint16_t count = GetUi16(directory + kGroupDirCount);
    if (!RangeFits(directoryBytes, kGroupDirBytes, static_cast<uint64_t>(count) * kGroupEntryBytes)) {
        return nullptr;
    }
    Scoped<IconImageSetTraits> set(MakeIconImageSet(count));
    if (!set.IsValid()) {
        return nullptr;
    }
    StoreIconImageSetPath(set.Get()->moduleFilePath, path);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = directory + kGroupDirBytes + i * kGroupEntryBytes;
        if (!ReadModuleIconImage(module.Get(), GetUi16(entry + kGroupEntryId),
                                 &set.Get()->images[i])) {
            return nullptr;
        }
    }
    return set.Detach();
}
