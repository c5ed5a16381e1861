#pragma once

#include "app/Win32.h"

#include <ostream>
#include <string>

// A message number with its name, so that parameterised tests read as messages.
struct MessageName {
    UINT message;
    const char* name;
};

inline void PrintTo(const MessageName& messageName, std::ostream* out)
{
    *out << messageName.name;
}

// Names each parameterised case after its message.
struct NameOfMessage {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const
    {
        return info.param.name;
    }
};
