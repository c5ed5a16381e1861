#include "tests/support/ResourceBytes.h"

const unsigned char* ResourceBytes(HINSTANCE module, LPCSTR type, int id)
{
    const HRSRC found =
        FindResourceExA(module, type, MAKEINTRESOURCEA(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == nullptr) {
        return nullptr;
    }
    return static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
}
