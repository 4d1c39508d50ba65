#include "analysis/measurement.h"

#include <string>

#include "document/sentence.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "foundation/regex.h"

namespace dez::trelix {

namespace {

uint32_t length_of(const std::string& text) {
    return static_cast<uint32_t>(text.size());
}

Token* append_token(Sentence* sentence, uint32_t begin, uint32_t end, const std::string& literal) {
    auto* token = new Token(begin, end, literal);
    sentence->annotations.push_back(token);
    return token;
}

bool took_part(const dez::SMatch& match, std::size_t group) {
    return group < match.size() && match[group].matched;
}

} // namespace

void apply_measurement(Sentence* sentence, Token* token, const dez::SMatch& match) {
    int groups = 0;
    for (std::size_t i = 1; i < match.size(); ++i)
        groups += match[i].matched ? 1 : 0;
    if (groups == 2 && took_part(match, 1) && took_part(match, 2))
        apply_measurement_unit_value(sentence, token, match[1], match[2]);
    else if (groups == 2 && !took_part(match, 1) && took_part(match, 2) && took_part(match, 3))
        apply_measurement_value_unit(sentence, token, match[2], match[3]);
    else if (groups == 3 && took_part(match, 1) && took_part(match, 2) && took_part(match, 3))
        apply_3part_measurement(sentence, token, match);
}

void apply_measurement_unit_value(Sentence* sentence, Token* token, const dez::SubMatch& unit,
                                  const dez::SubMatch& value) {
    token->literal = unit.str;
    token->end = token->begin + length_of(unit.str);
    Token* number =
        append_token(sentence, token->end, token->end + length_of(value.str), value.str);
    token->readings.emplace_back("Nn-Sym", unit.str, 1.0);
    token->properties.clear();
    number->readings.emplace_back("Num", value.str, 1.0);
    token->token_flags |= token_flags::no_lookup;
    number->token_flags |= token_flags::no_lookup;
}

void apply_measurement_value_unit(Sentence* sentence, Token* token, const dez::SubMatch& value,
                                  const dez::SubMatch& unit) {
    token->literal = value.str;
    token->end = token->begin + length_of(value.str);
    Token* unit_token =
        append_token(sentence, token->end, token->end + length_of(unit.str), unit.str);
    token->readings.emplace_back("Num", value.str, 1.0);
    token->properties.clear();
    if (unit.str == "m") {
        unit_token->token_flags |= token_flags::unit_or_value;
        unit_token->properties.insert("_mc_");
        sentence->sentence_flags |= sentence_flags::has_unit_or_value;
    } else if (unit.str == "bn" || unit.str == "tn" || unit.str == "k") {
        unit_token->readings.emplace_back("Num", unit.str, 1.0);
        unit_token->properties.insert("measure");
        unit_token->properties.insert("_mc_");
        token->token_flags |= token_flags::no_lookup;
    } else {
        unit_token->readings.emplace_back("Nn-Sym", unit.str, 1.0);
        unit_token->properties.insert("unit");
        token->token_flags |= token_flags::no_lookup;
        unit_token->token_flags |= token_flags::no_lookup;
    }
}

void apply_3part_measurement(Sentence* sentence, Token* token, const dez::SMatch& match) {
    const std::string& currency = match[1].str;
    const std::string& value = match[2].str;
    const std::string& multiplier = match[3].str;
    const uint32_t end = token->end;
    token->literal = currency;
    token->end = token->begin + length_of(currency);
    token->readings.clear();
    token->readings.emplace_back("Nn-Sym", currency, 1.0);
    token->properties.erase("nf");
    token->properties.erase("alphanum");
    const bool init_token = token->properties.erase("init-token") != 0;
    token->token_flags |= token_flags::no_lookup;
    token->properties.insert("currency");

    Token* number = append_token(sentence, token->end, token->end + length_of(value), value);
    number->readings.emplace_back("Num", value, 1.0);
    number->token_flags |= token_flags::no_lookup;

    Token* unit = append_token(sentence, number->end, end, multiplier);
    if (init_token)
        token->properties.insert("init-token");
    unit->properties.insert("measure");
    unit->token_flags |= token_flags::unit_or_value | token_flags::multiplier;
    sentence->sentence_flags |= sentence_flags::has_unit_or_value;
}

} // namespace dez::trelix
