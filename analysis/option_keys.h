#pragma once

// Option keys that several parts of the analysis read or write.
namespace dez::trelix::option_key {

// Read by the tokenizer.
inline constexpr char multiline[] = "multiline";
// The document id; the hooks pass it and the result import writes it.
inline constexpr char id[] = "id";

} // namespace dez::trelix::option_key
