// kestrivane-table: the tileset table from the command line. The commands live
// in the table_tool library, so that the tests run them in-process.
#include "tools/TableTool.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char* argv[])
{
#ifdef _WIN32
    // Lines end in "\n" as on every other system, so that a dump is the same
    // bytes everywhere; a table read from or written to "-" keeps every byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    return TableTool::Run(args, std::cin, std::cout, std::cerr);
}
