#include "data/FileFailure.h"

std::string SystemErrorText(std::error_code error)
{
    return error ? error.message() : "the system gave no reason";
}
