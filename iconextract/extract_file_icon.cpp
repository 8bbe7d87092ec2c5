#include "iconextract/extract_file_icon.h"

#include "iconextract/bmp_writer.h"
#include "iconextract/clipboard_copy.h"
#include "iconextract/ico/ico_reader.h"
#include "iconextract/ico/ico_writer.h"
#include "iconextract/module/module_icon_group.h"
#include "iconextract/module/ne_icon_group.h"
#include "iconextract/path_ending.h"
#include "platform/scoped_handles.h"

namespace {

// Puts the set out; whether that succeeds changes nothing for the caller.
void PutOutIconGroup(IconImageSet* set, const char* destination) {
    if (set == nullptr) {
        return;
    }
    if (destination == nullptr) {
        if (set->imageCount > 0) {
            CopyIconImageToClipboard(&set->images[0]);
        }
        return;
    }
    switch (DestinationKindOf(destination)) {
        case DestinationKind::Bitmap:
            if (set->imageCount > 0) {
                WriteIconImageAsBmp(&set->images[0], destination);
            }
            break;
        case DestinationKind::IconFile:
            WriteIconFile(set, destination);
            break;
        case DestinationKind::Other:
            break;
    }
}

}  // namespace

int32_t ExtractIconGroup(const char* source, int32_t groupIndex, const char* destination) {
    // Declared in the order of their release in reverse: the set goes first, then the counting
    // load, then the captured group name.
    IconGroupSearchScope search(groupIndex);
    ScopedModule countingLoad;
    Scoped<IconImageSetTraits> set;

    SourceKind kind = SourceKindOf(source);
    bool sixteenBit = false;
    if (kind == SourceKind::IconFile) {
        set.Reset(ReadIconFile(source));
        g_iconGroupSearch.groupCount = 1;
    } else if (kind == SourceKind::Module) {
        countingLoad.Reset(LoadLibraryExA(source, nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (countingLoad.IsValid()) {
            if (!EnumResourceNamesA(countingLoad.Get(), RT_GROUP_ICON, OnIconGroupName, 0)) {
                g_iconGroupSearch.groupCount = 0;
            }
        } else if (IsNeModule(source)) {
            // Windows loads no 16-bit module as data: its table is read here instead.
            sixteenBit = true;
            if (!CountNeIconGroups(source)) {
                g_iconGroupSearch.groupCount = 0;
            }
        }
    }

    int32_t groupCount = g_iconGroupSearch.groupCount;
    if (groupCount == 0 || groupIndex > groupCount) {
        return 0;
    }
    if (kind == SourceKind::Module) {
        LPCSTR name = g_iconGroupSearch.foundName;
        set.Reset(sixteenBit ? ReadNeIconGroup(source, name) : ReadModuleIconGroup(source, name));
    }
    PutOutIconGroup(set.Get(), destination);
    return groupCount;
}

int32_t ExtractFileIcon(const char* source, int32_t mode, const char* destination,
                        int32_t groupIndex) {
    if (source == nullptr) {
        source = "";
    }
    if (mode != kExtractToFile) {
        mode = kExtractToClipboard;
    }
    if (groupIndex < 1) {
        groupIndex = 1;
    }
    if (mode == kExtractToClipboard) {
        return ExtractIconGroup(source, groupIndex, nullptr);
    }
    if (destination == nullptr || destination[0] == '\0') {
        return 0;
    }
    return ExtractIconGroup(source, groupIndex, destination);
}
