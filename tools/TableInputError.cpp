#include "tools/TableInputError.h"

#include <utility>

TableInputError::TableInputError(InputPlace place, std::string message)
    : place(std::move(place)), message(std::move(message))
{
}

const InputPlace& TableInputError::Place() const
{
    return place;
}

const std::string& TableInputError::Message() const
{
    return message;
}

std::string TableInputError::Describe(const std::string& inputName) const
{
    const std::string where =
        inputName + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) + ": ";
    return place.path.empty() ? where + message : where + place.path + ": " + message;
}
