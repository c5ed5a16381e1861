#pragma once

#include "tools/TableInputError.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The errors found in a dump: the first ones in the order of their places in
// the input, as many as are told, and a count of all. An input of millions of
// faulty lines takes no more memory than a hundred of them.
class InputErrorList {
public:
    static constexpr std::size_t TOLD = 100;

    void Add(const InputPlace& at, std::string message);
    // False for an error that would only be counted, whose message need not be
    // put together: the list holds TOLD errors placed before it.
    bool Tells(const InputPlace& at) const;
    // Counts an error that is not told.
    void Count();

    // At most TOLD, in the order of their places; among errors at one place,
    // in the order they were found.
    const std::vector<TableInputError>& Told() const;
    uint64_t Total() const;

private:
    std::vector<TableInputError> told;
    uint64_t total = 0;
};
