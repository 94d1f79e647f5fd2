// Base64 (RFC 4648, with padding) for blob values in data packets.
// Decode raises EConvertError for text that is not base64. Pure.
#pragma once

#include <string>
#include <string_view>

namespace fw {

std::string Base64Encode(std::string_view bytes);
std::string Base64Decode(std::string_view text);

}  // namespace fw
