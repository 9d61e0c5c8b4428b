#pragma once
// libzip's failures in the words of our own messages: the library's English never
// reaches a Turkish message.
#include <string>

namespace kuvela::detail {

// The Turkish text for a libzip error code (ZIP_ER_...).
std::string zipErrorText(int zipErrorCode);

} // namespace kuvela::detail
