#include "core-afst/tag_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/arc_matcher.h"
#include "core-afst/base_matcher.h"
#include "core-afst/compound_ranking.h"
#include "core-afst/compound_stem.h"
#include "core-afst/end_policies.h"
#include "core-afst/match_section.h"
#include "core-afst/result_collectors.h"
#include "core-afst/walk_input.h"

#include <unicode/uchar.h>
#include <utf8.h>

#include <utility>

namespace dez::afst {

namespace {

// Components of a tag body: a segmentation has at most 7.
constexpr int32_t tag_depth_limit = 6;

using ChunkWalk =
    AFSTBaseMatcher<AFSTArcMatcher<Utf8Input, DefaultIteratorPolicy, ResultCollectorUnsorted>>;

UChar32 first_code_point(const char* begin, const char* end) {
    return static_cast<UChar32>(utf8::next(begin, end));
}

// The analyses of a whole chunk, in the order found.
std::vector<std::string> walk_chunk(ChunkWalk& walk, const std::string& text) {
    std::vector<std::string> found;
    ResultCollectorUnsorted collector(found);
    walk.match(text, collector);
    return found;
}

} // namespace

TagLookup::TagLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter)
    : lookup_(std::move(lexicon), std::move(converter)) {}

TagLookup::~TagLookup() = default;

int TagLookup::type() const {
    return lookup_tag;
}

std::vector<std::string> TagLookup::up(const std::string& word) {
    if (get_tag_property(word).empty())
        return {};
    const std::vector<TagChunk> chunks = is_camelcase(word);
    if (chunks.empty() || u_islower(first_code_point(chunks.front().first, chunks.front().second)))
        return compound_road(word);
    return camel_case_road(word, chunks);
}

std::vector<std::string> TagLookup::compound_road(const std::string& word) const {
    const char* const end = word.data() + word.size();
    const char* start = word.data();
    utf8::next(start, end);
    if (start != end) {
        const char* after = start;
        if (is_tag_begin_char(utf8::next(after, end)))
            start = after;
    }
    ResultsMementoV2 memento;
    utf8_iterator::match_section_skip_numbers(memento, *lookup_.afst(), start, start, end,
                                              tag_depth_limit);
    if (memento.results.empty())
        return {};
    // The literals are compared with the body: with the tag characters in
    // front, no component could ever spell the beginning of the word.
    const std::string body(start, end);
    if (get_most_likely_components(body, memento.results) < 0)
        return {};
    const std::string& property = get_tag_property(word);
    std::vector<std::string> readings;
    readings.reserve(memento.results.size());
    for (const auto& segmentation : memento.results)
        readings.push_back(property + construct_stem_v2(body, segmentation));
    return readings;
}

std::vector<std::string> TagLookup::camel_case_road(const std::string& word,
                                                    const std::vector<TagChunk>& chunks) const {
    const auto& converter = lookup_.converter();
    ChunkWalk walk(*lookup_.afst());
    std::string reading = get_tag_property(word);
    for (const auto& chunk : chunks) {
        const std::string text(chunk.first, chunk.second);
        std::string entry;
        if (u_isdigit(first_code_point(chunk.first, chunk.second))) {
            entry = text + "+Num-Std";
        } else if (auto found = walk_chunk(walk, text); !found.empty()) {
            entry = std::move(found.front());
        } else {
            const bool caps = all_caps(chunk);
            // Three capitals may still be a word the lexicon holds in its
            // converted form; longer ones are taken as acronyms.
            if (!caps || text.size() == 3) {
                if (converter)
                    found = walk_chunk(walk, (*converter)(text));
                if (!found.empty())
                    entry = std::move(found.front());
                else
                    entry = text + (caps ? "+Nn-Std+all-cap" : "+Nn-Std+TLNF");
            } else {
                entry = text + "+Nn-Std+all-cap";
            }
        }
        reading += '#';
        reading += entry;
    }
    return {reading};
}

const std::string& get_tag_property(const std::string& word) {
    static const std::string hash_tag = "#+hash-tag";
    static const std::string add_tag = "#+add-tag";
    static const std::string none;
    if (word.empty())
        return none;
    switch (word.front()) {
    case '#':
        return hash_tag;
    case '@':
        return add_tag;
    default:
        return none;
    }
}

bool is_tag_begin_char(uint64_t code_point) {
    return code_point == '#' || code_point == '@';
}

bool all_caps(const TagChunk& chunk) {
    for (const char* at = chunk.first; at != chunk.second;)
        if (!u_isupper(static_cast<UChar32>(utf8::next(at, chunk.second))))
            return false;
    return true;
}

std::vector<TagChunk> is_camelcase(const std::string& word) {
    std::vector<TagChunk> chunks;
    if (word.size() < 2)
        return chunks;
    const char* const end = word.data() + word.size();
    const char* at = word.data();
    utf8::next(at, end);
    const char* const body = at;
    const char* chunk = at;
    while (at != end) {
        const char* const current = at;
        const char* next = current;
        const auto c = static_cast<UChar32>(utf8::next(next, end));
        if (next == end) {
            chunks.emplace_back(chunk, end);
            break;
        }
        const char* after_next = next;
        const auto n = static_cast<UChar32>(utf8::next(after_next, end));
        if (c == '_') {
            if (chunk != current)
                chunks.emplace_back(chunk, current);
            chunk = next;
        } else if (current != body && u_islower(c) && !u_islower(n)) {
            chunks.emplace_back(chunk, next);
            chunk = next;
        } else if (u_isupper(c) && u_isdigit(n)) {
            chunks.emplace_back(chunk, next);
            chunk = next;
        } else if (u_isupper(c) && u_isupper(n) && after_next != end &&
                   u_islower(first_code_point(after_next, end))) {
            // "ABCdef": "AB", then "Cdef"; the 'C' needs no test of its own.
            chunks.emplace_back(chunk, next);
            chunk = next;
            at = after_next;
            continue;
        } else if (u_isdigit(c) && !u_isdigit(n)) {
            chunks.emplace_back(chunk, next);
            chunk = next;
        } else if (c == '#') {
            chunk = next;
        }
        at = next;
    }
    return chunks;
}

void filter_entries_of_size_one(std::vector<CompoundSegmentation>&) {}

} // namespace dez::afst
