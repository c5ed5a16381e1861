#pragma once

#include <string>

// A Linux symbolic link made from this Windows program under Wine, as a mod
// manager makes one, and removed by the Linux side again: Wine deletes neither
// a link whose target is gone nor one to /proc/self/mem.
class UnixLink {
public:
    // Makes folder/name point to target (a Linux path, relative to folder or absolute).
    UnixLink(const std::string& folder, const std::string& target, const std::string& name);
    ~UnixLink();
    UnixLink(const UnixLink&) = delete;
    UnixLink& operator=(const UnixLink&) = delete;

    // False where Linux programs cannot be started, as on Windows itself.
    bool Made() const { return made; }
    // True while folder/name is still a symbolic link.
    bool IsLink() const;

private:
    std::string folder;
    std::string name;
    bool made;
};
