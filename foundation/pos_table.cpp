#include "foundation/pos_table.h"

#include <initializer_list>
#include <map>
#include <stdexcept>

namespace dez::language::pos_table {

namespace {

constexpr unsigned int adj = 0x10000;
constexpr unsigned int adv = 0x20000;
constexpr unsigned int aux = 0x40000;
constexpr unsigned int conj = 0x80000;
constexpr unsigned int det = 0x100000;
constexpr unsigned int nn = 0x200000;
constexpr unsigned int num = 0x400000;
constexpr unsigned int part = 0x800000;
constexpr unsigned int prep = 0x1000000;
constexpr unsigned int pron = 0x2000000;
constexpr unsigned int prop = 0x4000000;
constexpr unsigned int punct = 0x8000000;
constexpr unsigned int v = 0x10000000;
constexpr unsigned int others = 0x20000000;

using Tags = std::initializer_list<const char*>;

// Built on first use (and at load, below), never changed afterwards.
const std::unordered_map<std::string, unsigned int>& tag_table() {
    static const std::unordered_map<std::string, unsigned int> table = [] {
        std::unordered_map<std::string, unsigned int> tags;
        unsigned int index = 0;
        auto add = [&](unsigned int class_bit, Tags names) {
            for (const char* name : names)
                tags.emplace(name, class_bit | index++);
        };
        // Every class restarts at 1, except Det, whose ids carry on after Conj's;
        // stored data depends on these exact numbers.
        index = 1;
        add(adj, {"Adj", "Adj-Attr", "Adj-Comp", "Adj-Def-Pl", "Adj-Def-Sg", "Adj-Indef-Pl",
                  "Adj-Indef-Sg", "Adj-Gen", "Adj-Ord", "Adj-Pred", "Adj-Pl", "Adj-Sg", "Adj-Std",
                  "Adj-Sup"});
        index = 1;
        add(adv, {"Adv", "Adv-Comp", "Adv-Deg", "Adv-Int", "Adv-Int-Rel", "Adv-Neg", "Adv-Part",
                  "Adv-Pron", "Adv-Rel", "Adv-Std", "Adv-Sup"});
        index = 1;
        add(aux, {"Aux", "Aux-Fin-be", "Aux-Fin-have", "Aux-Fin", "Aux-Inf", "Aux-Inf-be",
                  "Aux-Inf-have", "Aux-Inf-SForm", "Aux-Impv", "Aux-PaPart", "Aux-PrPart",
                  "Aux-Pres-SForm", "Aux-Std"});
        index = 1;
        add(conj, {"Conj", "Conj-Adv", "Conj-Coord", "Conj-Comp", "Conj-Inf", "Conj-Sub",
                   "Conj-als", "Conj-che", "Conj-Pre", "Conj-Que", "Conj-wie"});
        add(det, {"Det", "Det-Def", "Det-Dem", "Det-Dem-Pl", "Det-Indef", "Det-Int", "Det-Int-Rel",
                  "Det-Pl", "Det-Pre", "Det-Poss", "Det-Rel", "Det-Sg", "Det-Std"});
        index = 1;
        add(nn, {"Nn", "Nn-Def-Pl", "Nn-Def-Sg", "Nn-Gen", "Nn-Indef-Pl", "Nn-Indef-Sg",
                 "Nn-Indef-SP", "Nn-Inf", "Nn-Pl", "Nn-Sg", "Nn-Std", "Nn-Sym"});
        index = 1;
        add(num, {"Num", "Num-Std", "Num-Writ"});
        index = 1;
        add(part,
            {"Part", "Part-Inf", "Part-Neg", "Part-Prefix", "Part-Poss", "Part-Verb", "Part-Std"});
        index = 1;
        add(prep, {"Prep",        "Prep-Det",     "Prep-Det-a",   "Prep-Det-da", "Prep-Det-de",
                   "Prep-Det-di", "Prep-Det-Def", "Prep-Det-Dem", "Prep-Det-Pl", "Prep-Det-Sg",
                   "Prep-Pre",    "Prep-Std",     "Prep-a",       "Prep-at",     "Prep-de",
                   "Prep-di",     "Prep-da",      "Prep-en",      "Prep-from",   "Prep-of",
                   "Prep-than",   "Prep-to",      "Prep-van"});
        index = 1;
        add(pron,
            {"Pron",       "Pron-chi",       "Pron-en",      "Pron-Clitic",   "Pron-Dem",
             "Pron-Indef", "Pron-Int",       "Pron-Int-Rel", "Pron-Loc",      "Pron-Pers",
             "Pron-Pl",    "Pron-Poss",      "Pron-Prep",    "Pron-Prep-Dem", "Pron-Prep-Pers",
             "Pron-Recip", "Pron-Recip-Gen", "Pron-Refl",    "Pron-Rel",      "Pron-se",
             "Pron-Std"});
        index = 1;
        add(prop, {"Prop", "Prop-Abbr", "Prop-Adj", "Prop-Gen", "Prop-Std", "Prop-Sg"});
        index = 1;
        add(punct, {"Punct", "Punct-Comma", "Punct-Close", "Punct-Line", "Punct-Open",
                    "Punct-Quote", "Punct-Sent", "Punct-Header"});
        index = 1;
        add(v, {"V",
                "V-Cond",
                "V-Impr",
                "V-Impv",
                "V-Impv-SForm",
                "V-Inf",
                "V-Inf-Pron",
                "V-Inf-SForm",
                "V-Inf-be",
                "V-Izu",
                "V-Fin",
                "V-Fin-have",
                "V-Fut",
                "V-PaPart",
                "V-PaPart-Pl",
                "V-PaPart-Sg",
                "V-PaPart-SForm",
                "V-PaPart-be",
                "V-PaPart-have",
                "V-PaPast",
                "V-Past",
                "V-Past-Pl",
                "V-Past-Pl-be",
                "V-Past-Sg",
                "V-Past-Sg-be",
                "V-Past-SForm",
                "V-Past-have",
                "V-PastPart",
                "V-PrPart",
                "V-PrPart-be",
                "V-PrPart-have",
                "V-Pres",
                "V-Pres-3",
                "V-Pres-3-Sg",
                "V-Pres-3-Sg-have",
                "V-Pres-Pl",
                "V-Pres-Pl-be",
                "V-Pres-Sg",
                "V-Pres-Sg-be",
                "V-Pres-SForm",
                "V-Pres-have"});
        index = 1;
        add(others, {"Cmpd-Part", "Emoji", "Guess", "Interj", "Url", "Unicode", "Markup"});
        return tags;
    }();
    return table;
}

const std::map<std::string, unsigned int>& root_table() {
    static const std::map<std::string, unsigned int> table = {
        {"Adj", adj},   {"Adv", adv},     {"Aux", aux},   {"Conj", conj},     {"Det", det},
        {"Nn", nn},     {"Num", num},     {"Part", part}, {"Prep", prep},     {"Pron", pron},
        {"Prop", prop}, {"Punct", punct}, {"V", v},       {"Others", others},
    };
    return table;
}

[[maybe_unused]] const bool tables_built = (tag_table(), root_table(), true);

} // namespace

unsigned int id(const std::string& tag) {
    const auto found = tag_table().find(tag);
    return found == tag_table().end() ? 0 : found->second;
}

bool has(const char* tag) {
    if (tag == nullptr)
        throw std::logic_error("basic_string::_S_construct null not valid");
    return tag_table().count(tag) != 0;
}

std::string str(const unsigned int& id) {
    for (const auto& [name, tag_id] : tag_table())
        if (tag_id == id)
            return name;
    return {};
}

unsigned int get_root_pos_id(const std::string& root) {
    const auto found = root_table().find(root);
    return found == root_table().end() ? 0 : found->second;
}

const std::unordered_map<std::string, unsigned int>& data() {
    return tag_table();
}

} // namespace dez::language::pos_table
