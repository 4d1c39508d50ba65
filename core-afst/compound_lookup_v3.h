#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"
#include "core-afst/results_memento_v2.h"
#include "core-afst/word_lookup.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

// The compound lookup with a configurable component limit, which drops
// segmentations with a genitive or definite component before their last.
class CompoundLookupV3 : public LookupInterface {
public:
    // The limit is 12 unless the configuration says otherwise.
    CompoundLookupV3(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter,
                     const nlohmann::json& configuration);
    ~CompoundLookupV3() override;

    // {"max_components": n}: n (a number; floating values truncated,
    // booleans 0 or 1) becomes the limit; another type raises the JSON
    // library's type error. Any other JSON changes nothing.
    void set_configuration_parameters(const nlohmann::json& configuration);

    int type() const override;
    std::vector<std::string> up(const std::string& word) override;
    // Every segmentation of the (converted) word, unranked.
    ResultsMementoV2 get_candidates(const std::string& word) const;

    // The search's depth limit: a segmentation has at most one component
    // more.
    int32_t max_components() const { return max_components_; }

private:
    // CompoundLookupNumbers runs this lookup's search and needs the
    // converted word for its result strings too.
    friend class CompoundLookupNumbers;

    // The word as the converter gives it (unchanged without a converter).
    std::string convert(const std::string& word) const;
    // The segmentation search over an already converted word.
    ResultsMementoV2 search(const std::string& converted) const;

    WordLookup lookup_;
    int32_t max_components_ = 12;
};

} // namespace dez::afst
