#include "tools/TableInputError.h"

#include "tools/JsonPath.h"

#include <utility>

TableInputError::TableInputError(const InputPlace& place, std::string message)
    : line(place.line), column(place.column), path(place.path != nullptr ? place.path->Text() : std::string()),
      message(std::move(message))
{
}

int TableInputError::Line() const
{
    return line;
}

int TableInputError::Column() const
{
    return column;
}

const std::string& TableInputError::Message() const
{
    return message;
}

std::string TableInputError::Describe(const std::string& inputName) const
{
    const std::string where = inputName + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
    return path.empty() ? where + message : where + path + ": " + message;
}
