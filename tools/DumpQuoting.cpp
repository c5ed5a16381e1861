#include "tools/DumpQuoting.h"

#include "tools/NumberText.h"

namespace {

bool IsPrintableAscii(unsigned char byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

std::string Quoted(const std::string& bytes, const char* byteEscape)
{
    std::string quoted = "\"";
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (IsPrintableAscii(byte)) {
            quoted += c;
        } else {
            quoted += byteEscape + NumberText::HexByte(byte);
        }
    }
    return quoted + "\"";
}

} // namespace

std::string DumpQuoting::Text(const std::string& bytes)
{
    return Quoted(bytes, "\\x");
}

std::string DumpQuoting::Json(const std::string& bytes)
{
    return Quoted(bytes, "\\u00");
}
