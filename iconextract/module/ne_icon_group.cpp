#include "iconextract/module/ne_icon_group.h"

#include <cstdlib>
#include <cstring>

#include "iconextract/measure_icon_image.h"
#include "iconextract/module/grpicondir.h"
#include "iconextract/module/module_icon_group.h"
#include "iconextract/module/ne_resource_table.h"
#include "iconextract/source_file.h"
#include "platform/byte_order.h"
#include "platform/scoped_handles.h"

namespace {

constexpr uint16_t kNeRtIcon = 3;
constexpr uint16_t kNeRtGroupIcon = 14;
constexpr uint32_t kDosHeaderBytes = 64;
constexpr uint32_t kDosNewHeaderOffset = 0x3C;

// An NE module open for reading, with its resource table read and checked.
class NeModuleFile {
public:
    bool Open(const char* path) {
        file_.Reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_.IsValid() || !SourceFileSize(file_.Get(), &size_)) {
            return false;
        }
        uint8_t dos[kDosHeaderBytes];
        if (!ReadAt(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') {
            return false;
        }
        neOffset_ = GetUi32(dos + kDosNewHeaderOffset);
        return ReadAt(neOffset_, ne_, sizeof ne_) && ne_[0] == 'N' && ne_[1] == 'E';
    }

    // Reads the resource table; false when it lies outside the file or is damaged.
    bool ReadTable() {
        NeTableBounds bounds = NeResourceTableBounds(ne_, neOffset_);
        if (bounds.tableBytes == 0) {
            return table_.Check(kNoResources, sizeof kNoResources, size_);
        }
        tableBytes_.Reset(HeapAlloc(GetProcessHeap(), 0, bounds.tableBytes));
        const uint8_t* bytes = static_cast<const uint8_t*>(tableBytes_.Get());
        return tableBytes_.IsValid() &&
               ReadAt(bounds.tableOffset, tableBytes_.Get(), bounds.tableBytes) &&
               table_.Check(bytes, bounds.tableBytes, size_);
    }

    // Reads exactly `count` bytes at `offset`.
    bool ReadAt(uint64_t offset, void* buffer, uint32_t count) {
        return ReachableInFile(size_, offset, count) && MoveToOffset(file_.Get(), offset) &&
               ReadAllBytes(file_.Get(), buffer, count);
    }

    const NeResourceTable& Table() const { return table_; }

private:
    static constexpr uint8_t kNoResources[4] = {0, 0, 0, 0};  // a shift, and type 0 at once
    ScopedFileHandle file_;
    ScopedHeapBlock tableBytes_;
    NeResourceTable table_;
    uint64_t size_ = 0;
    uint32_t neOffset_ = 0;
    uint8_t ne_[kNeHeaderBytes] = {};
};

// True when a resource's name is the one asked for: an identifier, "#" and the identifier's
// digits, or a string compared without regard to ASCII case.
bool NameMatches(const NeResourceName& name, LPCSTR wanted) {
    if (IS_INTRESOURCE(wanted)) {
        return !name.isString && name.id == reinterpret_cast<ULONG_PTR>(wanted);
    }
    if (wanted[0] == '#') {
        char* end = nullptr;
        unsigned long id = std::strtoul(wanted + 1, &end, 10);
        if (end != wanted + 1 && *end == '\0') {
            return !name.isString && name.id == id;
        }
    }
    if (!name.isString || std::strlen(wanted) != name.length) {
        return false;
    }
    for (uint32_t i = 0; i < name.length; ++i) {
        char a = static_cast<char>(name.text[i]);
        char b = wanted[i];
        a = a >= 'a' && a <= 'z' ? static_cast<char>(a - 32) : a;
        b = b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : b;
        if (a != b) {
            return false;
        }
    }
    return true;
}

bool FindResource(const NeResourceTable& table, uint16_t type, LPCSTR name, NeResource* found) {
    uint32_t count = table.CountOfType(type);
    for (uint32_t i = 0; i < count; ++i) {
        NeResource resource = table.ResourceOfType(type, i);
        if (NameMatches(resource.name, name)) {
            *found = resource;
            return true;
        }
    }
    return false;
}

// Copies the RT_ICON `id` into an image, `bytesInRes` long where that fits in the resource.
bool ReadNeIconImage(NeModuleFile* module, uint16_t id, uint32_t bytesInRes, IconImage* image) {
    NeResource icon;
    if (!FindResource(module->Table(), kNeRtIcon, MAKEINTRESOURCEA(id), &icon)) {
        return false;
    }
    uint32_t length = bytesInRes <= icon.alignedLength ? bytesInRes
                                                        : static_cast<uint32_t>(icon.alignedLength);
    return AllocateIconImageBytes(image, length) &&
           module->ReadAt(icon.fileOffset, image->bytes, length) && MeasureIconImage(image);
}

}  // namespace

bool IsNeModule(const char* path) {
    NeModuleFile module;
    return module.Open(path);
}

bool CountNeIconGroups(const char* path) {
    NeModuleFile module;
    if (!module.Open(path) || !module.ReadTable()) {
        return false;
    }
    const NeResourceTable& table = module.Table();
    uint32_t count = table.CountOfType(kNeRtGroupIcon);
    for (uint32_t i = 0; i < count; ++i) {
        NeResourceName name = table.ResourceOfType(kNeRtGroupIcon, i).name;
        if (!name.isString) {
            OnIconGroupName(nullptr, RT_GROUP_ICON, MAKEINTRESOURCEA(name.id), 0);
            continue;
        }
        char text[256];  // a length byte's worth and the NUL
        std::memcpy(text, name.text, name.length);
        text[name.length] = '\0';
        OnIconGroupName(nullptr, RT_GROUP_ICON, text, 0);
    }
    return true;
}

IconImageSet* ReadNeIconGroup(const char* path, LPCSTR groupName) {
    NeModuleFile module;
    NeResource group;
    if (groupName == nullptr || !module.Open(path) || !module.ReadTable() ||
        !FindResource(module.Table(), kNeRtGroupIcon, groupName, &group)) {
        return nullptr;
    }
    // The directory must hold the entries its count claims, inside the resource's bytes.
    uint8_t header[kGroupDirBytes];
    if (group.alignedLength < kGroupDirBytes || !module.ReadAt(group.fileOffset, header, sizeof header)) {
        return nullptr;
    }
    uint16_t count = GetUi16(header + kGroupDirCount);
    uint32_t entryBytes = count * kGroupEntryBytes;
    if (!RangeFits(group.alignedLength, kGroupDirBytes, entryBytes)) {
        return nullptr;
    }
    Scoped<IconImageSetTraits> set(MakeIconImageSet(count));
    if (!set.IsValid()) {
        return nullptr;
    }
    StoreIconImageSetPath(set.Get()->moduleFilePath, path);
    if (count == 0) {
        return set.Detach();
    }
    ScopedHeapBlock entries(HeapAlloc(GetProcessHeap(), 0, entryBytes));
    if (!entries.IsValid() ||
        !module.ReadAt(group.fileOffset + kGroupDirBytes, entries.Get(), entryBytes)) {
        return nullptr;
    }
    const uint8_t* entry = static_cast<const uint8_t*>(entries.Get());
    for (uint32_t i = 0; i < count; ++i, entry += kGroupEntryBytes) {
        if (!ReadNeIconImage(&module, GetUi16(entry + kGroupEntryId),
                             GetUi32(entry + kGroupEntryBytesInRes), &set.Get()->images[i])) {
            return nullptr;
        }
    }
    return set.Detach();
}
