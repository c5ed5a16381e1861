#pragma once

#include <iosfwd>
#include <string>

// The text dump of a table file's entries as they lie in its bytes, for a
// file that the editor refuses: each with all the slots its header declares,
// as far as the bytes go. A field without a NUL shows its first 31 bytes, as
// the editor would keep them.
class RawTableDump {
public:
    static void WriteText(const std::string& bytes, std::ostream& out);
};
