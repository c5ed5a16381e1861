#include "tests/support/UnixLink.h"

#include "tests/support/UnixCommand.h"

UnixLink::UnixLink(const std::string& folder, const std::string& target, const std::string& name)
    : folder(folder), name(name), made(RunUnixCommand(folder, "ln -s " + target + " " + name) == 0)
{
}

UnixLink::~UnixLink()
{
    if (made) {
        RunUnixCommand(folder, "rm -f " + name);
    }
}

bool UnixLink::IsLink() const
{
    return RunUnixCommand(folder, "test -L " + name) == 0;
}
