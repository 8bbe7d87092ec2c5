#include "tests/support/pe_builder.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kNewHeaderOffset = 0x40;

uint32_t AlignUp(uint32_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// Linkers sort each level: string names first, by their upper-case units, then identifiers.
bool NameBefore(const ResName& a, const ResName& b) {
    if (a.IsString() != b.IsString()) {
        return a.IsString();
    }
    if (!a.IsString()) {
        return a.id < b.id;
    }
    std::u16string ua = a.text, ub = b.text;
    for (auto* s : {&ua, &ub}) {
        for (char16_t& c : *s) {
            if (c >= u'a' && c <= u'z') {
                c = static_cast<char16_t>(c - 32);
            }
        }
    }
    return ua < ub;
}

struct Level {
    ResName name;
    std::vector<Level> children;  // empty at the language level
    const PeResource* resource = nullptr;
    uint16_t language = 0;
};

// A key telling names apart: strings and identifiers never meet.
std::u16string NameKey(const ResName& name) {
    return name.IsString() ? u"$" + name.text : std::u16string(1, static_cast<char16_t>(name.id));
}

// Groups resources into type -> name -> language, in first-seen order.
std::vector<Level> GroupTree(const std::vector<PeResource>& resources) {
    std::vector<Level> types;
    std::map<std::u16string, size_t> typeAt;
    std::vector<std::map<std::u16string, size_t>> nameAt;
    for (const PeResource& resource : resources) {
        auto type = typeAt.emplace(NameKey(resource.type), types.size());
        if (type.second) {
            types.push_back({resource.type, {}});
            nameAt.emplace_back();
        }
        Level& typeLevel = types[type.first->second];
        auto name = nameAt[type.first->second].emplace(NameKey(resource.name), typeLevel.children.size());
        if (name.second) {
            typeLevel.children.push_back({resource.name, {}});
        }
        Level language{ResName::Id(resource.language), {}, &resource, resource.language};
        typeLevel.children[name.first->second].children.push_back(language);
    }
    return types;
}

void SortTree(std::vector<Level>* levels) {
    std::stable_sort(levels->begin(), levels->end(),
                     [](const Level& a, const Level& b) { return NameBefore(a.name, b.name); });
    for (Level& level : *levels) {
        SortTree(&level.children);
    }
}

// The format's own rule, which even an unsorted tree keeps: a directory's named entries come
// before its numbered ones (NumberOfNamedEntries counts the first entries).
void NamedFirst(std::vector<Level>* levels) {
    std::stable_partition(levels->begin(), levels->end(),
                          [](const Level& level) { return level.name.IsString(); });
    for (Level& level : *levels) {
        NamedFirst(&level.children);
    }
}

// Writes the tree into a resource section: all directories first (each table followed by its
// children's tables), then the strings, then the data entries, then the data.
class TreeWriter {
public:
    TreeWriter(const std::vector<Level>& types, uint32_t sectionRva) : rva_(sectionRva) {
        // Sizes of each part, to know where each begins.
        uint32_t directories = 0, strings = 0, dataEntries = 0;
        Measure(types, 0, &directories, &strings, &dataEntries);
        stringsAt_ = directories;
        dataEntriesAt_ = AlignUp(stringsAt_ + strings, 4);
        dataAt_ = AlignUp(dataEntriesAt_ + dataEntries, 8);
        nextDirectory_ = 0;
        nextString_ = stringsAt_;
        nextDataEntry_ = dataEntriesAt_;
        nextData_ = dataAt_;
        WriteLevel(types, 0);
    }
    Bytes Take() { return std::move(bytes_); }

private:
    void Measure(const std::vector<Level>& levels, int depth, uint32_t* directories,
                 uint32_t* strings, uint32_t* dataEntries) {
        *directories += 16 + 8 * static_cast<uint32_t>(levels.size());
        for (const Level& level : levels) {
            if (level.name.IsString()) {
                *strings += 2 + 2 * static_cast<uint32_t>(level.name.text.size());
            }
            if (depth == 2) {
                *dataEntries += 16;
            } else {
                Measure(level.children, depth + 1, directories, strings, dataEntries);
            }
        }
    }

    void Ensure(size_t size) {
        if (bytes_.size() < size) {
            bytes_.resize(size, 0);
        }
    }
    void Put16(uint32_t at, uint16_t value) {
        Ensure(at + 2);
        PutUi16(&bytes_, at, value);
    }
    void Put32(uint32_t at, uint32_t value) {
        Ensure(at + 4);
        PutUi32(&bytes_, at, value);
    }

    uint32_t WriteString(const std::u16string& text) {
        uint32_t at = nextString_;
        Put16(at, static_cast<uint16_t>(text.size()));
        for (size_t i = 0; i < text.size(); ++i) {
            Put16(at + 2 + 2 * static_cast<uint32_t>(i), static_cast<uint16_t>(text[i]));
        }
        nextString_ += 2 + 2 * static_cast<uint32_t>(text.size());
        return at;
    }

    // This level's table, then each child's tables in turn.
    uint32_t WriteLevel(const std::vector<Level>& levels, int depth) {
        uint32_t at = nextDirectory_;
        nextDirectory_ += 16 + 8 * static_cast<uint32_t>(levels.size());
        uint16_t named = static_cast<uint16_t>(std::count_if(
            levels.begin(), levels.end(), [](const Level& l) { return l.name.IsString(); }));
        Put16(at + 12, named);
        Put16(at + 14, static_cast<uint16_t>(levels.size() - named));
        for (size_t i = 0; i < levels.size(); ++i) {
            const Level& level = levels[i];
            uint32_t entry = at + 16 + 8 * static_cast<uint32_t>(i);
            Put32(entry, level.name.IsString() ? 0x80000000u | WriteString(level.name.text)
                                               : level.name.id);
            if (depth == 2) {
                Put32(entry + 4, WriteData(*level.resource));
            }
        }
        if (depth < 2) {
            for (size_t i = 0; i < levels.size(); ++i) {
                uint32_t entry = at + 16 + 8 * static_cast<uint32_t>(i);
                Put32(entry + 4, 0x80000000u | WriteLevel(levels[i].children, depth + 1));
            }
        }
        return at;
    }

    uint32_t WriteData(const PeResource& resource) {
        uint32_t entry = nextDataEntry_;
        nextDataEntry_ += 16;
        uint32_t data = nextData_;
        nextData_ = AlignUp(nextData_ + static_cast<uint32_t>(resource.data.size()), 8);
        Put32(entry, rva_ + data);
        Put32(entry + 4, static_cast<uint32_t>(resource.data.size()));
        Ensure(data + resource.data.size());
        std::copy(resource.data.begin(), resource.data.end(), bytes_.begin() + data);
        return entry;
    }

    uint32_t rva_;
    uint32_t stringsAt_, dataEntriesAt_, dataAt_;
    uint32_t nextDirectory_, nextString_, nextDataEntry_, nextData_;
    Bytes bytes_;
};

void PutName(Bytes* file, uint32_t at, const char* name) {
    for (int i = 0; i < 8 && name[i] != '\0'; ++i) {
        (*file)[at + static_cast<uint32_t>(i)] = static_cast<uint8_t>(name[i]);
    }
}

}  // namespace

namespace {

// A module in two pieces: the headers, and the resource section's raw data at its file offset;
// between them lies the leading section (zeros), after them the overlay.
struct PeParts {
    Bytes head;
    Bytes resources;
    PeModule layout;
    uint64_t fileBytes;
};

PeParts BuildPeParts(const std::vector<PeResource>& resources, const PeOptions& options) {
    std::vector<Level> tree = GroupTree(resources);
    if (options.keepOrder) {
        NamedFirst(&tree);
    } else {
        SortTree(&tree);
    }
    const bool leading = options.leadingSectionBytes > 0;
    const uint32_t sectionCount = leading ? 2 : 1;
    const uint32_t optionalSize = options.pe32Plus ? 240 : 224;
    const uint32_t sectionTable = kNewHeaderOffset + 24 + optionalSize;
    const uint32_t headers = AlignUp(sectionTable + 40 * sectionCount, kFileAlignment);

    uint32_t leadingRva = kSectionAlignment;
    uint32_t leadingRaw = AlignUp(options.leadingSectionBytes, kFileAlignment);
    uint32_t resourceRva = leading ? AlignUp(leadingRva + options.leadingSectionBytes, kSectionAlignment)
                                   : kSectionAlignment;
    Bytes tree_bytes = TreeWriter(tree, resourceRva).Take();
    if (tree_bytes.empty()) {
        tree_bytes.resize(16, 0);  // an empty root directory
    }
    uint32_t resourceSize = static_cast<uint32_t>(tree_bytes.size());
    uint32_t resourceRaw = AlignUp(resourceSize, kFileAlignment);
    uint32_t resourceFile = headers + leadingRaw;
    uint32_t imageSize = AlignUp(resourceRva + resourceSize, kSectionAlignment);

    Bytes file(headers, 0);
    file[0] = 'M';
    file[1] = 'Z';
    PutUi32(&file, 0x3C, kNewHeaderOffset);
    uint32_t pe = kNewHeaderOffset;
    file[pe] = 'P';
    file[pe + 1] = 'E';
    PutUi16(&file, pe + 4, options.pe32Plus ? 0x8664 : 0x14C);  // Machine
    PutUi16(&file, pe + 6, static_cast<uint16_t>(sectionCount));
    PutUi16(&file, pe + 20, static_cast<uint16_t>(optionalSize));
    PutUi16(&file, pe + 22, options.pe32Plus ? 0x2022 : 0x2102);  // an executable DLL image

    uint32_t opt = pe + 24;
    PutUi16(&file, opt, options.pe32Plus ? 0x20B : 0x10B);
    file[opt + 2] = 2;  // linker version
    PutUi32(&file, opt + 8, resourceRaw + leadingRaw);  // SizeOfInitializedData
    if (options.pe32Plus) {
        PutUi32(&file, opt + 24, 0x80000000u);  // ImageBase, low part
        PutUi32(&file, opt + 28, 0x1);          // ImageBase, high part
    } else {
        PutUi32(&file, opt + 28, 0x10000000u);
    }
    PutUi32(&file, opt + 32, kSectionAlignment);
    PutUi32(&file, opt + 36, kFileAlignment);
    PutUi16(&file, opt + 40, 4);  // operating system version
    PutUi16(&file, opt + 48, 4);  // subsystem version
    PutUi32(&file, opt + 56, imageSize);
    PutUi32(&file, opt + 60, headers);
    PutUi16(&file, opt + 68, 2);  // a GUI subsystem
    uint32_t directories;
    if (options.pe32Plus) {
        PutUi32(&file, opt + 72, 0x100000);
        PutUi32(&file, opt + 80, 0x1000);
        PutUi32(&file, opt + 88, 0x100000);
        PutUi32(&file, opt + 96, 0x1000);
        PutUi32(&file, opt + 108, 16);
        directories = opt + 112;
    } else {
        PutUi32(&file, opt + 72, 0x100000);
        PutUi32(&file, opt + 76, 0x1000);
        PutUi32(&file, opt + 80, 0x100000);
        PutUi32(&file, opt + 84, 0x1000);
        PutUi32(&file, opt + 92, 16);
        directories = opt + 96;
    }
    PutUi32(&file, directories + 2 * 8, resourceRva);
    PutUi32(&file, directories + 2 * 8 + 4, resourceSize);

    uint32_t section = sectionTable;
    if (leading) {
        PutName(&file, section, ".data");
        PutUi32(&file, section + 8, options.leadingSectionBytes);
        PutUi32(&file, section + 12, leadingRva);
        PutUi32(&file, section + 16, leadingRaw);
        PutUi32(&file, section + 20, headers);
        PutUi32(&file, section + 36, 0xC0000040u);  // initialised data, read and write
        section += 40;
    }
    PutName(&file, section, ".rsrc");
    PutUi32(&file, section + 8, resourceSize);
    PutUi32(&file, section + 12, resourceRva);
    PutUi32(&file, section + 16, resourceRaw);
    PutUi32(&file, section + 20, resourceFile);
    PutUi32(&file, section + 36, 0x40000040u);  // initialised data, read only

    tree_bytes.resize(resourceRaw, 0);
    PeModule layout{{}, resourceFile, resourceRva, resourceRaw, kNewHeaderOffset, sectionTable};
    uint64_t fileBytes = static_cast<uint64_t>(resourceFile) + resourceRaw + options.overlayBytes;
    return {std::move(file), std::move(tree_bytes), layout, fileBytes};
}

}  // namespace

PeModule BuildPeModule(const std::vector<PeResource>& resources, const PeOptions& options) {
    PeParts parts = BuildPeParts(resources, options);
    Bytes file = std::move(parts.head);
    file.resize(parts.layout.resourceFileOffset, 0);
    file.insert(file.end(), parts.resources.begin(), parts.resources.end());
    file.resize(parts.fileBytes, 0x5A);  // the overlay
    parts.layout.file = std::move(file);
    return parts.layout;
}

bool WritePeModuleFile(const std::string& path, const std::vector<PeResource>& resources,
                       const PeOptions& options) {
    PeParts parts = BuildPeParts(resources, options);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    // Seeking over the leading section and the overlay leaves holes: a sparse file of any size.
    bool ok = std::fwrite(parts.head.data(), 1, parts.head.size(), out) == parts.head.size() &&
              std::fseek(out, static_cast<long>(parts.layout.resourceFileOffset), SEEK_SET) == 0 &&
              std::fwrite(parts.resources.data(), 1, parts.resources.size(), out) ==
                  parts.resources.size();
    if (ok && parts.fileBytes > parts.layout.resourceFileOffset + parts.resources.size()) {
        ok = std::fseek(out, static_cast<long>(parts.fileBytes - 1), SEEK_SET) == 0 &&
             std::fputc(0x5A, out) != EOF;
    }
    return std::fclose(out) == 0 && ok;
}



Bytes MakeGroupDirectory(const std::vector<GroupEntry>& entries, const std::vector<Bytes>& images) {
    Bytes directory(6 + 14 * entries.size(), 0);
    PutUi16(&directory, 2, 1);
    PutUi16(&directory, 4, static_cast<uint16_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        size_t at = 6 + 14 * i;
        const Bytes* image = i < images.size() ? &images[i] : nullptr;
        // The size fields are filled roughly: the reader must not depend on them.
        directory[at] = 0xEE;
        directory[at + 1] = 0xEE;
        PutUi16(&directory, at + 4, 1);
        PutUi16(&directory, at + 6, 32);
        uint32_t bytesInRes = entries[i].bytesInRes;
        if (bytesInRes == 0 && image != nullptr) {
            bytesInRes = static_cast<uint32_t>(image->size());
        }
        PutUi32(&directory, at + 8, bytesInRes);
        PutUi16(&directory, at + 12, entries[i].id);
    }
    return directory;
}

std::vector<PeResource> IconGroupResources(const ResName& name, const std::vector<Bytes>& images,
                                           uint16_t firstId, uint16_t language) {
    std::vector<PeResource> resources;
    std::vector<GroupEntry> entries;
    for (size_t i = 0; i < images.size(); ++i) {
        uint16_t id = static_cast<uint16_t>(firstId + i);
        resources.push_back({ResName::Id(kRtIcon), ResName::Id(id), language, images[i]});
        entries.push_back({id});
    }
    resources.push_back(
        {ResName::Id(kRtGroupIcon), name, language, MakeGroupDirectory(entries, images)});
    return resources;
}
