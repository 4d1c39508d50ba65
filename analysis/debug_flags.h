#pragma once

// The names the option "dbg" may list (comma-separated).
namespace dez::trelix::debug_flag {

// Dump every sentence to standard output after an analysis or a domain run.
inline constexpr char print_annotations[] = "print_annotations";
// The domain lexicon pass: its text streams and its lookups.
inline constexpr char streams[] = "streams";
inline constexpr char stream_lookup[] = "stream_lookup";
// Concept insertion.
inline constexpr char insertion[] = "insertion";
inline constexpr char overlap[] = "overlap";
// The rule names shown by the document's option view.
inline constexpr char rule_trigger[] = "rule_trigger";
inline constexpr char rule_info[] = "rule_info";
inline constexpr char rule_info_short[] = "rule_info_short";

} // namespace dez::trelix::debug_flag
