#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "analysis/lid_decision.h"

namespace dez {
class IOptions;
}

namespace dez::afst {
class AFst;
}

namespace dez::trelix {
class EngineInterface;
}

namespace dez::lid {

class LidWordTable;

// The outcome of identifying one stretch of text.
struct SectionDetectionResult {
    std::string language;
    bool identified = false;
    // Words looked up (whole text), or code points read (block scan).
    int32_t count = 0;
    // Votes of the winning language (whole text), or code points that fell
    // in a block (block scan).
    int32_t hits = 0;
    double probability = 0;
    LidTally languages;
};

// One section of a text, [begin, end) in bytes.
struct LidSection {
    std::string language;
    std::size_t begin = 0;
    std::size_t end = 0;
    int32_t count = 0;
    int32_t hits = 0;
    double probability = 0;
};

class LIDStoreInterface {
public:
    virtual SectionDetectionResult identify_language(const char* text, std::size_t length) = 0;
    // The sections of the text as a JSON array.
    virtual std::string identify_language_sections(const char* text, std::size_t length) = 0;
    virtual ~LIDStoreInterface() = default;
};

// The identifier over the engine's lid.fst: every output of a word is a
// two-letter code and a decimal score. Settings are fixed at construction;
// requests change nothing in the store, so several threads may share one.
//
// Options: "section_data" (sections carry their text, default false),
// "long_names" (languages by English name, default true), "language_codes"
// (comma-separated codes that may vote, default every code of the language
// table), "default_language" (reported when nothing wins, default "EN"; must
// be one of the codes).
//
// Text that is not valid UTF-8 is refused with dez::Exception.
class LIDStore : public LIDStoreInterface {
public:
    // Fails when the engine has no lid.fst, and with "Invalid default_language
    // option, or is not in the default set: [<value>]".
    LIDStore(const dez::trelix::EngineInterface* engine, std::shared_ptr<dez::IOptions> options);

    SectionDetectionResult identify_language(const char* text, std::size_t length) override;
    std::string identify_language_sections(const char* text, std::size_t length) override;

    std::shared_ptr<dez::IOptions> options;
    // The shared transducer.
    std::shared_ptr<dez::afst::AFst> lexicon;
    bool section_data = false;
    bool long_names = true;
    std::string default_language = "EN";
    std::set<std::string> language_codes;

private:
    SectionDetectionResult identify_valid_text(const char* text, std::size_t length) const;
    std::string name_of(const std::string& code) const;
    // Whether a lexicon vote for this two-byte code counts.
    bool votes_for(char first, char second) const;

    // The two-byte members of language_codes, by their bytes.
    std::vector<bool> voting_codes_;
    // lid.fst as a table when it is a plain word list, else null.
    std::shared_ptr<const LidWordTable> words_;
};

std::shared_ptr<LIDStoreInterface> createStore(const dez::trelix::EngineInterface* engine,
                                               std::shared_ptr<dez::IOptions> options);

// The engine's shared lid.fst.
std::shared_ptr<dez::afst::AFst> load_lid_fst(const dez::trelix::EngineInterface* engine);

// The English name of a code, or the code itself when the language table does
// not know it (block codes such as "IN"); any other text unchanged.
std::string language_long_name(const std::string& code);

// Every code point votes 5 for the language of its block. Never identified.
SectionDetectionResult character_range_detection(const char* text, std::size_t length);

// Identified, with at least three words looked up.
bool valid_condition(const SectionDetectionResult& result);

// Folds a paragraph of the current section's language into it.
void update_probability(SectionDetectionResult& current, const SectionDetectionResult& paragraph);

// Throws dez::Exception naming the byte offset of the first invalid sequence.
void check_utf8(const char* text, std::size_t length);

} // namespace dez::lid
