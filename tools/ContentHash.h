#pragma once

#include <string>
#include <string_view>

// The hash by which the page's Content-Security-Policy names its own script
// and style.
namespace ContentHash {

// The 32 bytes of the SHA-256 digest (FIPS 180-4).
std::string Sha256(std::string_view bytes);
// Base64 with padding (RFC 4648), as the policy writes a digest.
std::string Base64(std::string_view bytes);

} // namespace ContentHash
