#include "analysis/reading_labels.h"

#include <algorithm>
#include <iostream>
#include <string_view>

#include "analysis/lookup_condition.h"
#include "analysis/token_helpers.h"
#include "analysis/token_properties.h"
#include "document/token.h"
#include "document/token_flags.h"

namespace dez::trelix {

namespace {

// The fields between separators, empty ones kept; none for an empty text.
void split(std::string_view text, char separator, std::vector<std::string_view>& out) {
    out.clear();
    if (text.empty())
        return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t stop = text.find(separator, start);
        out.push_back(text.substr(start, stop == std::string_view::npos ? std::string_view::npos
                                                                        : stop - start));
        if (stop == std::string_view::npos)
            return;
        start = stop + 1;
    }
}

// A reading of fields stem, pos, tags...
MorphData make_reading(const std::vector<std::string_view>& fields, double weight) {
    MorphData reading{std::string(fields[1]), std::string(fields[0]), weight};
    reading.tags.reserve(fields.size() - 2);
    for (std::size_t i = 2; i < fields.size(); ++i)
        reading.tags.emplace_back(fields[i]);
    return reading;
}

void import_plain(Token* token, const std::string& label, double weight) {
    std::string_view text(label);
    if (!text.empty() && text.front() == '\\')
        text.remove_prefix(1);
    // Every reading of every token comes through here: the field list keeps
    // its room from one reading to the next.
    thread_local std::vector<std::string_view> fields;
    split(text, '+', fields);
    if (fields.size() < 2) {
        std::cerr << "Internal Error: Invalid dictionary entry.[" << label
                  << "], missing + in output label to separate the POS and the stem." << std::endl;
        return;
    }
    token->readings.push_back(make_reading(fields, weight));
}

// The text from `at` up to the next '#' (or the end); `at` moves past it.
std::string_view group(std::string_view label, std::size_t& at) {
    const std::size_t stop = label.find('#', at);
    std::string_view text =
        label.substr(at, stop == std::string_view::npos ? std::string_view::npos : stop - at);
    at = stop == std::string_view::npos ? label.size() : stop + 1;
    return text;
}

bool is_compound_reading(const MorphData& reading) {
    return !reading.components.empty();
}

void import_compound(Token* token, const std::string& label) {
    token->token_flags |= token_flags::compound;
    token->readings.emplace_back("", "", 1.0);
    MorphData& compound = token->readings.back();
    compound.tags.emplace_back("compound");

    const std::string_view text(label);
    std::vector<std::string_view> fields;
    std::size_t at = 1;
    if (at < text.size() && text[at] == '+') {
        split(group(text, at), '+', fields);
        for (std::string_view property : fields)
            if (!property.empty())
                token->properties.emplace(property);
    }
    if (at < text.size() && text[at] == '$') {
        ++at;
        split(group(text, at), '+', fields);
        if (!fields.empty())
            compound.stem = std::string(fields[0]);
        if (fields.size() == 2)
            compound.set_pos(std::string(fields[1]));
    }
    std::vector<std::string_view> components;
    split(text.substr(std::min(at, text.size())), '#', components);

    bool valid = compound.pos.empty() || compound.stem.empty();
    if (valid) {
        std::string stem_text;
        std::string pos_candidate;
        int counted = 0;
        for (std::size_t i = 0; i < components.size(); ++i) {
            split(components[i], '+', fields);
            if (fields.size() < 2)
                continue;
            const bool clitic = fields[1] == "Clit";
            if (i + 1 < components.size()) {
                if (compound.stem.empty())
                    stem_text += fields[0];
                if (compound.pos.empty())
                    pos_candidate = std::string(fields[1]);
                counted += !clitic;
            } else if (!clitic) {
                ++counted;
                stem_text += fields[0];
                if (compound.pos.empty())
                    compound.set_pos(std::string(fields[1]));
                if (compound.stem.empty())
                    compound.stem = stem_text;
            } else {
                compound.tags.front() = "clitic";
                if (compound.stem.empty())
                    compound.stem = stem_text;
                if (compound.pos.empty())
                    compound.set_pos(pos_candidate);
            }
        }
        valid = counted > 0;
    }
    if (!valid) {
        compound.tags.clear();
        token->properties.erase("compound");
        token->properties.insert("invalid");
        compound.stem = token->literal;
        compound.set_pos("Nn-Std");
        // The flag promises components to disambiguation: keep it only while
        // another reading of the token is a compound.
        const bool other_compound =
            std::any_of(token->readings.begin(), token->readings.end(), is_compound_reading);
        if (!other_compound)
            token->token_flags &= ~token_flags::compound;
        return;
    }
    for (std::string_view component : components) {
        split(component, '+', fields);
        if (fields.size() >= 2) {
            compound.components.push_back(make_reading(fields, 1.0));
            continue;
        }
        std::cerr << "Error in dictionary fst:[" << label << "], literal:[" << token->literal
                  << "]. Missing Pos for component:" << component << std::endl;
        compound.components.emplace_back("none",
                                         fields.empty() ? "no_stem" : std::string(fields[0]), 1.0);
        token->properties.insert("missing_pos");
    }
}

void import_all(Token* token, const std::vector<std::string>& labels) {
    const double weight = 1.0 / static_cast<double>(labels.size());
    for (const std::string& label : labels)
        import_result_in_token_obj(token, label, weight);
    if (has_property(*token, "tag"))
        token->token_flags |= token_flags::tagged;
}

} // namespace

void import_result_in_token_obj(Token* token, const std::string& label, double weight) {
    if (!label.empty() && label.front() == '#')
        import_compound(token, label);
    else
        import_plain(token, label, weight);
}

void assign_afst_results_token_obj(Token* token, const std::vector<std::string>& labels) {
    if (labels.empty())
        return;
    token->readings.clear();
    import_all(token, labels);
}

void append_afst_results_token_obj(Token* token, const std::vector<std::string>& labels) {
    if (labels.empty())
        return;
    import_all(token, labels);
}

void append_afst_results_token_obj(Token* token, const std::vector<std::string>& labels,
                                   const LookupConditionInterface* condition) {
    if (labels.empty())
        return;
    if (condition)
        condition->action(token);
    add_properties(token);
    import_all(token, labels);
}

void merge_lookup_results(std::vector<std::string>& into, const std::vector<std::string>& from) {
    if (into.empty()) {
        into = from;
        return;
    }
    for (const std::string& label : from)
        if (std::find(into.begin(), into.end(), label) == into.end())
            into.push_back(label);
}

} // namespace dez::trelix
