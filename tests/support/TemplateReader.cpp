#include "tests/support/TemplateReader.h"

#include <cstring>
#include <cwctype>

namespace {

std::wstring ClassName(const std::wstring& nameOrOrdinal)
{
    if (nameOrOrdinal == L"#128")
        return L"BUTTON";
    if (nameOrOrdinal == L"#129")
        return L"EDIT";
    if (nameOrOrdinal == L"#130")
        return L"STATIC";
    if (nameOrOrdinal == L"#131")
        return L"LISTBOX";
    std::wstring upper = nameOrOrdinal;
    for (wchar_t& unit : upper) {
        unit = static_cast<wchar_t>(std::towupper(unit));
    }
    return upper;
}

} // namespace

template <typename T>
T TemplateReader::Take()
{
    T value;
    std::memcpy(&value, at, sizeof(T));
    at += sizeof(T);
    return value;
}

std::uint16_t TemplateReader::Word()
{
    return Take<std::uint16_t>();
}

std::uint32_t TemplateReader::Dword()
{
    return Take<std::uint32_t>();
}

std::int16_t TemplateReader::Short()
{
    return Take<std::int16_t>();
}

std::uint8_t TemplateReader::Byte()
{
    return Take<std::uint8_t>();
}

std::wstring TemplateReader::String()
{
    std::wstring text;
    for (wchar_t unit = Word(); unit != 0; unit = Word()) {
        text += unit;
    }
    return text;
}

std::wstring TemplateReader::NameOrOrdinal()
{
    const std::uint16_t first = Word();
    if (first == 0) {
        return L"";
    }
    if (first == 0xFFFF) {
        return L"#" + std::to_wstring(Word());
    }
    std::wstring text(1, static_cast<wchar_t>(first));
    return text + String();
}

TemplateItem TemplateReader::Item()
{
    AlignToDword();
    TemplateItem item;
    item.helpId = Dword();
    item.exStyle = Dword();
    item.style = Dword();
    item.x = Short();
    item.y = Short();
    item.cx = Short();
    item.cy = Short();
    item.id = static_cast<int>(static_cast<std::int32_t>(Dword()));
    item.windowClass = ClassName(NameOrOrdinal());
    item.text = NameOrOrdinal();
    item.creationDataBytes = Word();
    Skip(static_cast<std::size_t>(item.creationDataBytes));
    return item;
}

void TemplateReader::AlignToDword()
{
    while ((at - start) % 4 != 0) {
        ++at;
    }
}
