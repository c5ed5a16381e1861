#include "tools/InputErrorList.h"

#include <algorithm>
#include <utility>

namespace {

bool Before(const InputPlace& place, const TableInputError& error)
{
    return place.line != error.Line() ? place.line < error.Line() : place.column < error.Column();
}

} // namespace

// Readers find most errors in the order of the input: the new one then goes
// last, or is only counted.
void InputErrorList::Keep(const InputPlace& at, std::string message)
{
    const auto after = std::upper_bound(told.begin(), told.end(), at, Before);
    told.emplace(after, at, std::move(message));
    if (told.size() > TOLD) {
        told.pop_back();
    }
}

bool InputErrorList::Tells(const InputPlace& at) const
{
    return told.size() < TOLD || Before(at, told.back());
}

const std::vector<TableInputError>& InputErrorList::Told() const
{
    return told;
}

uint64_t InputErrorList::Total() const
{
    return total;
}
