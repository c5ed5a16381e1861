#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A control of an extended dialog template (DLGITEMTEMPLATEEX).
struct TemplateItem {
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    int id = 0;
    // The predefined classes by name ("BUTTON", "EDIT", ...), others upper-cased.
    std::wstring windowClass;
    std::wstring text;
    // The size of the creation data, which is skipped.
    int creationDataBytes = 0;
};

// Reads a resource as the executable carries it, field by field: an extended
// dialog template (DLGTEMPLATEEX and its items), an icon group.
class TemplateReader {
public:
    explicit TemplateReader(const unsigned char* bytes) : start(bytes), at(bytes) {}

    std::uint16_t Word();
    std::uint32_t Dword();
    std::int16_t Short();
    std::uint8_t Byte();

    // A NUL-terminated UTF-16 string.
    std::wstring String();
    // A name or an ordinal (0xFFFF then the number), as "#number" for ordinals;
    // "" for none.
    std::wstring NameOrOrdinal();
    // The next control, from the DWORD boundary on which it starts.
    TemplateItem Item();

    void AlignToDword();
    void Skip(std::size_t count) { at += count; }

private:
    template <typename T>
    T Take();

    const unsigned char* start;
    const unsigned char* at;
};
