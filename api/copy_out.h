#pragma once

#include <cstddef>
#include <string>

namespace dez::api {

// The host-buffer protocol of the file-name calls: *size is the room for text
// bytes (the buffer has one more for the zero byte). A text longer than that
// stores its length and answers false, leaving the buffer alone; otherwise
// the text and a zero byte are written, its length stored and true answered.
// A null size, or a null buffer the text would go to, is a std::logic_error.
bool copy_to_host_buffer(const std::string& text, char* buffer, std::size_t* size);

// A bounded copy into a buffer of `size` bytes that always ends with a zero
// byte: at most size - 1 text bytes, the rest zero-filled. Answers the text's
// full length, so a result >= size tells the host the text was cut.
std::size_t bounded_copy(const std::string& text, char* buffer, std::size_t size);

// The text a call hands out as it is: stores its length in *length when
// asked for and answers its characters, valid while `text` stays unchanged.
const char* answer_text(const std::string& text, std::size_t* length);

} // namespace dez::api
