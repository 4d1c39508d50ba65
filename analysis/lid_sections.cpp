// Section mode of the language identifier: paragraphs identified one by one,
// neighbours of one language joined into sections.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/lid_store.h"
#include "analysis/saturating_int32.h"
#include "foundation/json_escape.h"

namespace dez::lid {

namespace {

// A paragraph shorter than this does not end at a blank line.
constexpr std::size_t min_paragraph_bytes = 19;

// Joins a section below 0.5 or of the same language into the one before it.
void merge_sections(std::vector<LidSection>& sections) {
    if (sections.empty())
        return;
    std::vector<LidSection> merged;
    merged.push_back(sections.front());
    for (std::size_t i = 1; i < sections.size(); ++i) {
        LidSection& cursor = merged.back();
        const LidSection& next = sections[i];
        if (next.probability < 0.5 || next.language == cursor.language)
            cursor.end = next.end;
        else
            merged.push_back(next);
    }
    sections = std::move(merged);
}

} // namespace

std::string LIDStore::identify_language_sections(const char* text, std::size_t length) {
    if (length == 0)
        return "[]";
    check_utf8(text, length);

    std::string current_language;
    SectionDetectionResult current;
    std::vector<LidSection> sections;
    std::size_t section_start = 0;
    std::size_t para_start = 0;

    auto process = [&](std::size_t begin, std::size_t end) {
        SectionDetectionResult r = identify_valid_text(text + begin, end - begin);
        if (!valid_condition(r)) {
            current.probability += r.probability;
            current.count = saturating_add(current.count, r.count);
            current.hits = saturating_add(current.hits, r.hits);
        } else if (current_language.empty()) {
            current_language = r.language;
            current = std::move(r);
        } else if (current_language == r.language) {
            update_probability(current, r);
        } else {
            sections.push_back(
                {current_language, section_start, begin, 0, current.hits, current.probability});
            current_language = r.language;
            current = std::move(r);
            section_start = begin;
        }
    };

    // Only a blank line breaks a paragraph: two line breaks in a row (CR LF
    // is one), with nothing but spaces and tabs between them.
    int line_breaks = 0;
    for (std::size_t pos = 0; pos < length; ++pos) {
        const char c = text[pos];
        if (c == '\n') {
            if (pos == 0 || text[pos - 1] != '\r')
                ++line_breaks;
            continue;
        }
        if (c == '\r') {
            ++line_breaks;
            continue;
        }
        if (c == ' ' || c == '\t')
            continue;
        if (line_breaks >= 2 && pos - para_start >= min_paragraph_bytes) {
            process(para_start, pos);
            para_start = pos;
        }
        line_breaks = 0;
    }

    const SectionDetectionResult r = identify_valid_text(text + para_start, length - para_start);
    if (current_language.empty())
        current_language = r.language.empty() ? name_of(default_language) : r.language;
    if (current_language == r.language || !valid_condition(r)) {
        update_probability(current, r);
        sections.push_back({current_language, section_start, length, current.count, current.hits,
                            current.probability});
    } else {
        sections.push_back({current_language, section_start, para_start, current.count,
                            current.hits, current.probability});
        sections.push_back({r.language, para_start, length, r.count, r.hits, r.probability});
    }
    merge_sections(sections);

    std::string json = "[";
    for (const LidSection& section : sections) {
        if (json.size() > 1)
            json += ',';
        json += "{\"begin_offset\":" + std::to_string(section.begin) +
                ",\"end_offset\":" + std::to_string(section.end) + ",\"language\":\"" +
                dez::json::escape_string(long_names ? language_long_name(section.language)
                                                    : section.language) +
                "\"";
        if (section_data)
            json += ",\"text\":\"" +
                    dez::json::escape_string(
                        std::string(text + section.begin, section.end - section.begin)) +
                    "\"";
        json += '}';
    }
    json += ']';
    return json;
}

} // namespace dez::lid
