#include "tests/support/ne_builder.h"

#include <map>
#include <string>

namespace {

constexpr uint32_t kNeHeaderOffset = 0x40;
constexpr uint32_t kNeHeaderBytes = 0x40;

std::string Ascii(const std::u16string& text) {
    std::string ascii;
    for (char16_t c : text) {
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

void PutPascal(Bytes* bytes, const std::string& text) {
    bytes->push_back(static_cast<uint8_t>(text.size()));
    bytes->insert(bytes->end(), text.begin(), text.end());
}

}  // namespace

NeModuleFile BuildNeModule(const std::vector<PeResource>& resources, const NeOptions& options) {
    const uint32_t align = 1u << options.alignShift;
    // Types in order of first appearance, each with its resources in the order given.
    std::vector<std::pair<const ResName*, std::vector<const PeResource*>>> types;
    std::map<std::u16string, size_t> typeAt;
    for (const PeResource& resource : resources) {
        std::u16string key = resource.type.IsString() ? u"$" + resource.type.text
                                                      : std::u16string(1, static_cast<char16_t>(resource.type.id));
        auto found = typeAt.emplace(key, types.size());
        if (found.second) {
            types.push_back({&resource.type, {}});
        }
        types[found.first->second].second.push_back(&resource);
    }

    // The resource table: shift, TYPEINFO and NAMEINFO records, type 0, then the names.
    uint32_t recordsBytes = 2 + 2;
    for (const auto& type : types) {
        recordsBytes += 8 + 12 * static_cast<uint32_t>(type.second.size());
    }
    Bytes names;
    auto nameField = [&](const ResName& name) -> uint16_t {
        if (!name.IsString()) {
            return static_cast<uint16_t>(0x8000 | name.id);
        }
        uint16_t at = static_cast<uint16_t>(recordsBytes + names.size());
        PutPascal(&names, Ascii(name.text));
        return at;
    };
    Bytes table(recordsBytes, 0);
    PutUi16(&table, 0, options.alignShift);
    std::vector<std::pair<size_t, const PeResource*>> placed;  // NAMEINFO offset, resource
    uint32_t at = 2;
    for (const auto& type : types) {
        PutUi16(&table, at, nameField(*type.first));
        PutUi16(&table, at + 2, static_cast<uint16_t>(type.second.size()));
        at += 8;
        for (const PeResource* resource : type.second) {
            PutUi16(&table, at + 4, 0x0C50);  // moveable, pure, preload: what resource compilers set
            PutUi16(&table, at + 6, nameField(resource->name));
            placed.push_back({at, resource});
            at += 12;
        }
    }
    names.push_back(0);  // the end of the names
    table.insert(table.end(), names.begin(), names.end());

    // The tables after the NE header: no segments, the resource table, the resident names (the
    // module's name), no module references, an empty imported-name table, an empty entry table.
    Bytes tables = table;
    uint32_t residentAt = kNeHeaderBytes + static_cast<uint32_t>(tables.size());
    PutPascal(&tables, "ICONS");
    tables.insert(tables.end(), {0, 0, 0});  // its ordinal 0, and the end of the table
    uint32_t modulesAt = kNeHeaderBytes + static_cast<uint32_t>(tables.size());
    uint32_t importsAt = modulesAt;
    tables.push_back(0);
    uint32_t entriesAt = kNeHeaderBytes + static_cast<uint32_t>(tables.size());
    tables.insert(tables.end(), {0, 0});
    uint32_t nonResidentAt = kNeHeaderOffset + kNeHeaderBytes + static_cast<uint32_t>(tables.size());
    Bytes nonResident;
    PutPascal(&nonResident, "Icon library");
    nonResident.insert(nonResident.end(), {0, 0, 0});
    tables.insert(tables.end(), nonResident.begin(), nonResident.end());

    Bytes file(kNeHeaderOffset + kNeHeaderBytes, 0);
    file[0] = 'M';
    file[1] = 'Z';
    PutUi16(&file, 0x18, 0x40);  // e_lfarlc: a new-format executable
    PutUi32(&file, 0x3C, kNeHeaderOffset);
    uint32_t ne = kNeHeaderOffset;
    file[ne] = 'N';
    file[ne + 1] = 'E';
    file[ne + 2] = 5;                                        // linker version
    PutUi16(&file, ne + 0x04, static_cast<uint16_t>(entriesAt));
    PutUi16(&file, ne + 0x06, 2);                            // entry table length
    PutUi16(&file, ne + 0x0C, 0x8000);                       // a library module
    PutUi16(&file, ne + 0x20, static_cast<uint16_t>(nonResident.size()));
    PutUi16(&file, ne + 0x22, kNeHeaderBytes);               // segment table (empty)
    PutUi16(&file, ne + 0x24, kNeHeaderBytes);               // resource table
    PutUi16(&file, ne + 0x26, static_cast<uint16_t>(residentAt));
    PutUi16(&file, ne + 0x28, static_cast<uint16_t>(modulesAt));
    PutUi16(&file, ne + 0x2A, static_cast<uint16_t>(importsAt));
    PutUi32(&file, ne + 0x2C, nonResidentAt);
    PutUi16(&file, ne + 0x32, options.alignShift);           // segment alignment
    file[ne + 0x36] = 2;                                     // for Windows
    PutUi16(&file, ne + 0x3E, 0x030A);                       // Windows 3.10
    file.insert(file.end(), tables.begin(), tables.end());

    // The resources, each at an aligned offset and padded to its aligned length.
    for (const auto& place : placed) {
        file.resize((file.size() + align - 1) / align * align, options.padding);
        const Bytes& data = place.second->data;
        uint32_t units = static_cast<uint32_t>((data.size() + align - 1) / align);
        uint32_t record = kNeHeaderOffset + kNeHeaderBytes + static_cast<uint32_t>(place.first);
        PutUi16(&file, record, static_cast<uint16_t>(file.size() >> options.alignShift));
        PutUi16(&file, record + 2, static_cast<uint16_t>(units));
        file.insert(file.end(), data.begin(), data.end());
        file.resize(file.size() + (units * align - data.size()), options.padding);
    }
    return {std::move(file), ne, ne + kNeHeaderBytes, static_cast<uint32_t>(table.size())};
}
