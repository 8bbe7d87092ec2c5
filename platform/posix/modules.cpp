// Modules of the stand-in: PE images loaded as data (LOAD_LIBRARY_AS_DATAFILE only), and the
// resource calls over them. A load reads the headers and the section table; the resource tree
// is read as each call walks it, and a resource's bytes when it is loaded.
//
// Rules, as Windows keeps them:
// - Names are reported in the order of the directory: named entries first, then numbered ones,
//   each name once, whatever languages it has.
// - String names compare without regard to case; "#123" asks for the identifier 123.
// - Of several languages of one name, a neutral one (primary language 0) is taken, or else the
//   first that the directory lists.
// - String names are handed over as UTF-8 (see win32_standin.h).
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>

#include "platform/posix/pe_image.h"
#include "platform/posix/standin_internal.h"
#include "platform/posix/utf16.h"

struct StandinResourceEntry {
    uint32_t dataEntry;  // where its IMAGE_RESOURCE_DATA_ENTRY lies in the tree
    uint64_t fileOffset;
    uint32_t size;
    std::unique_ptr<uint8_t[]> bytes;  // read by LoadResource, valid until FreeLibrary
};

struct StandinModule {
    PeImage image;
    std::vector<std::unique_ptr<StandinResourceEntry>> resources;
    // Directories read so far, by offset: every FindResourceA walks the root and a type's names
    // again. Only what was walked is kept, each no larger than its section.
    std::map<uint32_t, std::vector<PeResourceEntry>> directories;
};

namespace {

// A name asked for: an identifier, or the upper-case units of a string.
struct WantedName {
    bool isString = false;
    uint16_t id = 0;
    std::vector<uint16_t> upper;
};

bool ParseWantedName(LPCSTR name, WantedName* wanted) {
    if (name == nullptr) {
        return false;
    }
    if (IS_INTRESOURCE(name)) {
        wanted->id = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name));
        return true;
    }
    if (name[0] == '#') {
        char* end = nullptr;
        unsigned long id = std::strtoul(name + 1, &end, 10);
        if (end != name + 1 && *end == '\0' && id >= 1 && id <= 0xFFFF) {
            wanted->id = static_cast<uint16_t>(id);
            return true;
        }
    }
    wanted->isString = true;
    if (!Utf8ToUtf16(name, &wanted->upper)) {
        return false;
    }
    std::transform(wanted->upper.begin(), wanted->upper.end(), wanted->upper.begin(), UpcaseUtf16);
    return true;
}

bool NameMatches(const PeResourceName& name, const WantedName& wanted) {
    if (name.isString != wanted.isString) {
        return false;
    }
    if (!name.isString) {
        return name.id == wanted.id;
    }
    return name.text.size() == wanted.upper.size() &&
           std::equal(name.text.begin(), name.text.end(), wanted.upper.begin(),
                      [](uint16_t unit, uint16_t upper) { return UpcaseUtf16(unit) == upper; });
}

// The entries of the directory at `offset`, read once per load; none when it is damaged.
const std::vector<PeResourceEntry>* Directory(StandinModule* module, uint32_t offset) {
    auto known = module->directories.find(offset);
    if (known != module->directories.end()) {
        return &known->second;
    }
    std::vector<PeResourceEntry> entries;
    if (!ReadPeResourceDirectory(module->image, offset, &entries)) {
        return nullptr;
    }
    return &module->directories.emplace(offset, std::move(entries)).first->second;
}

// The directory that the entry named `wanted` of the directory at `offset` leads to.
bool FindSubdirectory(StandinModule* module, uint32_t offset, const WantedName& wanted,
                      uint32_t* subdirectory) {
    const std::vector<PeResourceEntry>* entries = Directory(module, offset);
    if (entries == nullptr) {
        return false;
    }
    for (const PeResourceEntry& entry : *entries) {
        if (entry.isDirectory && NameMatches(entry.name, wanted)) {
            *subdirectory = entry.target;
            return true;
        }
    }
    return false;
}

// The data entry of the language to take from a name's language directory.
bool ChooseLanguage(StandinModule* module, uint32_t languages, uint32_t* dataEntry) {
    const std::vector<PeResourceEntry>* entries = Directory(module, languages);
    if (entries == nullptr) {
        return false;
    }
    const PeResourceEntry* chosen = nullptr;
    for (const PeResourceEntry& entry : *entries) {
        if (entry.isDirectory) {
            continue;  // a fourth level does not exist in a resource tree
        }
        bool neutral = !entry.name.isString && (entry.name.id & 0x3FF) == 0;
        if (chosen == nullptr || neutral) {
            chosen = &entry;
        }
        if (neutral) {
            break;
        }
    }
    if (chosen == nullptr) {
        return false;
    }
    *dataEntry = chosen->target;
    return true;
}

StandinResourceEntry* EntryOf(StandinModule* module, HRSRC resource) {
    if (module == nullptr || resource == nullptr) {
        return nullptr;
    }
    for (const auto& entry : module->resources) {
        if (entry.get() == resource) {
            return entry.get();
        }
    }
    StandinMisuse("a resource handle of another module");
}

}  // namespace

HMODULE LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
    if (StandinCallFails(StandinCall::LoadLibraryExA) || hFile != nullptr ||
        dwFlags != LOAD_LIBRARY_AS_DATAFILE) {
        return nullptr;  // code is never loaded to run: only data loads are served
    }
    std::unique_ptr<StandinModule> module(new (std::nothrow) StandinModule);
    if (module == nullptr || !OpenPeImage(lpLibFileName, &module->image)) {
        return nullptr;
    }
    ++g_standinHeld.modules;
    return module.release();
}

BOOL FreeLibrary(HMODULE hLibModule) {
    StandinModule* module = hLibModule;
    if (module == nullptr) {
        return FALSE;
    }
    ClosePeImage(&module->image);
    delete module;
    --g_standinHeld.modules;
    return TRUE;
}

BOOL EnumResourceNamesA(HMODULE hModule, LPCSTR lpType, ENUMRESNAMEPROCA lpEnumFunc,
                        LONG_PTR lParam) {
    StandinModule* module = hModule;
    WantedName type;
    uint32_t names = 0;
    if (module == nullptr || lpEnumFunc == nullptr ||
        StandinCallFails(StandinCall::EnumResourceNamesA) || !ParseWantedName(lpType, &type) ||
        !FindSubdirectory(module, 0, type, &names)) {
        return FALSE;  // no resources of that type
    }
    // The whole level is read and checked before the first name is reported.
    const std::vector<PeResourceEntry>* entries = Directory(module, names);
    if (entries == nullptr) {
        return FALSE;
    }
    for (const PeResourceEntry& entry : *entries) {
        BOOL goOn = FALSE;
        if (entry.name.isString) {
            std::string text = Utf16ToUtf8(entry.name.text.data(), entry.name.text.size());
            goOn = lpEnumFunc(hModule, lpType, &text[0], lParam);
        } else {
            goOn = lpEnumFunc(hModule, lpType, MAKEINTRESOURCEA(entry.name.id), lParam);
        }
        if (!goOn) {
            return FALSE;
        }
    }
    return TRUE;
}

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    StandinModule* module = hModule;
    WantedName type;
    WantedName name;
    uint32_t names = 0;
    uint32_t languages = 0;
    uint32_t dataEntry = 0;
    if (module == nullptr || StandinCallFails(StandinCall::FindResourceA) ||
        !ParseWantedName(lpType, &type) || !ParseWantedName(lpName, &name) ||
        !FindSubdirectory(module, 0, type, &names) ||
        !FindSubdirectory(module, names, name, &languages) ||
        !ChooseLanguage(module, languages, &dataEntry)) {
        return nullptr;
    }
    for (const auto& entry : module->resources) {
        if (entry->dataEntry == dataEntry) {
            return entry.get();
        }
    }
    std::unique_ptr<StandinResourceEntry> entry(new (std::nothrow) StandinResourceEntry{});
    if (entry == nullptr ||
        !ReadPeResourceData(module->image, dataEntry, &entry->fileOffset, &entry->size)) {
        return nullptr;
    }
    entry->dataEntry = dataEntry;
    module->resources.push_back(std::move(entry));
    return module->resources.back().get();
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo) {
    StandinModule* module = hModule;
    StandinResourceEntry* entry = EntryOf(module, hResInfo);
    if (entry == nullptr || StandinCallFails(StandinCall::LoadResource)) {
        return nullptr;
    }
    if (entry->bytes == nullptr) {
        // The size was checked against the file when the resource was found.
        std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[entry->size == 0 ? 1 : entry->size]);
        if (bytes == nullptr ||
            !ReadPeBytes(module->image, entry->fileOffset, bytes.get(), entry->size)) {
            return nullptr;
        }
        entry->bytes = std::move(bytes);
    }
    return entry->bytes.get();
}

LPVOID LockResource(HGLOBAL hResData) {
    if (hResData == nullptr || StandinCallFails(StandinCall::LockResource)) {
        return nullptr;
    }
    return hResData;
}

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    StandinResourceEntry* entry = EntryOf(hModule, hResInfo);
    return entry == nullptr ? 0 : entry->size;
}
