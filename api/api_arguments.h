#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "foundation/options.h"

namespace dez::api {

// A null text argument is a std::logic_error, worded alike in every call.
void require_text(const char* text);

// A text argument read in place, not copied: null with a non-zero length is
// refused as above; null with length 0 is the empty text.
const char* text_in_place(const char* text, std::size_t length);

// A text argument given with its length: exactly that many bytes, no
// terminator needed. Length 0 is the empty text; a null text with a non-zero
// length is a std::logic_error.
std::string text_argument(const char* text, std::size_t length);

// An options argument: JSON text of `length` bytes, or up to its zero byte
// when `length` is 0; null or empty is an empty bag. Text that is not a JSON
// object raises dez::JSONThrowException (code 5) whose message is the JSON
// object {"exception_msg", "exception_type"}.
std::shared_ptr<dez::IOptions> options_argument(const char* text, std::size_t length);

} // namespace dez::api
