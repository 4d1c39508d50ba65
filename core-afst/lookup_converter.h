#pragma once

#include <memory>
#include <string>

namespace dez::afst {

// Turns a word into the form a lexicon expects before it is looked up.
class ILookupConverter {
public:
    virtual std::string operator()(const std::string& word) const = 0;
    virtual ~ILookupConverter();
};

// dez::string::to_lower of the word.
class LookupConverterLowercase : public ILookupConverter {
public:
    std::string operator()(const std::string& word) const override;
};

// A new shared lower-casing converter.
std::shared_ptr<ILookupConverter> get_lowercase_converter();

// The word as the lexicon expects it: the converter's result, or the word
// itself without a converter.
std::string convert(const std::shared_ptr<ILookupConverter>& converter, const std::string& word);

} // namespace dez::afst
