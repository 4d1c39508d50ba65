#pragma once

#include "core-afst/compound_lookup_v3.h"
#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

// Number words written as one ("twentyone", "dreiundzwanzig"): the search
// of CompoundLookupV3 without its genitive filter. A compound ending in a
// number word is read only when all its components are number words or
// coordinating conjunctions.
class CompoundLookupNumbers : public LookupInterface {
public:
    CompoundLookupNumbers(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter,
                          const nlohmann::json& configuration);
    ~CompoundLookupNumbers() override;

    int type() const override;
    std::vector<std::string> up(const std::string& word) override;

    const CompoundLookupV3& lookup() const { return lookup_; }

private:
    CompoundLookupV3 lookup_;
};

} // namespace dez::afst
