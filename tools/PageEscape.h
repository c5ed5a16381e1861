#pragma once

#include <string>
#include <string_view>

// Text put into an HTML page, escaped for where it stands, so that no text of
// a table or a file name can end the element or the string it is in.
namespace PageEscape {

// Between tags: &, < and > as entities.
void AppendText(std::string_view text, std::string& out);
// Inside a quoted attribute value: the quotes as well.
void AppendAttribute(std::string_view text, std::string& out);
// A JSON string, quoted, for data in a script element: <, > and & as \u003C,
// \u003E and \u0026, so that no "</script" or "<!--" can appear in it.
void AppendJson(std::string_view text, std::string& out);
// A file name or a message, which may hold any bytes, as UTF-8 to show: bytes
// that are not UTF-8, and controls, as \xNN.
std::string Shown(std::string_view bytes);

} // namespace PageEscape
