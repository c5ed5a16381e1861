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

    // message() gives the error's words, and is called only for an error that
    // is told: an input of millions of faults spends no time on the words of
    // those that are only counted.
    template <typename Message>
    void Add(const InputPlace& at, const Message& message)
    {
        ++total;
        if (Tells(at)) {
            Keep(at, message());
        }
    }

    // At most TOLD, in the order of their places; among errors at one place,
    // in the order they were found.
    const std::vector<TableInputError>& Told() const;
    uint64_t Total() const;

private:
    // False for an error placed after TOLD errors already kept.
    bool Tells(const InputPlace& at) const;
    void Keep(const InputPlace& at, std::string message);

    std::vector<TableInputError> told;
    uint64_t total = 0;
};
