#pragma once

// The names of the rule clusters a domain runs, as the compiled domains and
// the domain run name them.
namespace dez::trelix::rule_cluster {

inline constexpr char document[] = "document";
inline constexpr char sentences[] = "sentences";
inline constexpr char conjecture[] = "conjecture";
inline constexpr char grammar[] = "grammar";
inline constexpr char entities[] = "entities";
inline constexpr char instances[] = "instances";
inline constexpr char anaphora[] = "anaphora";
inline constexpr char unknown_things[] = "unknown_things";
inline constexpr char unnamed[] = "unnamed";

} // namespace dez::trelix::rule_cluster
