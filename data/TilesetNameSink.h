#pragma once

// Receives the name of each tileset that the load reads, in file order.
class TilesetNameSink {
public:
    virtual ~TilesetNameSink() = default;
    // name is NUL-terminated and at most 31 bytes long.
    virtual void AddName(const char* name) = 0;
};
