#include "analysis/lexicon_facade.h"

#include "core-afst/serialization.h"
#include "core-afst/word_lookup.h"
#include "foundation/attribute_text.h"
#include "foundation/exception.h"

namespace dez::trelix::core {

LexiconFacade::LexiconFacade(std::shared_ptr<fst::StdVectorFst> transducer,
                             const std::string& /*name*/, std::string attribute_text)
    : fst(std::move(transducer)) {
    set_up(attribute_text);
}

LexiconFacade::LexiconFacade(const std::shared_ptr<sqlite3>& connection, const std::string& key) {
    const auto [attribute_text, bytes] =
        dez::afst::serialization::get_binary_data(connection.get(), key);
    fst = dez::afst::serialization::read_fsm(bytes.data(), bytes.size(), "LexiconFacade",
                                             "string input");
    if (!fst)
        throw dez::Exception("Could not read data from stream.");
    set_up(attribute_text);
}

LexiconFacade::~LexiconFacade() = default;

void LexiconFacade::set_up(const std::string& attribute_text) {
    word_lookup = std::make_shared<dez::afst::WordLookup>(fst, nullptr);
    attributes = dez::string2attributes(attribute_text);
    for (const auto& [key, value] : attributes) {
        if (key == "input") {
            input = dez::stream_types.at(value);
            break;
        }
    }
}

std::vector<std::string> LexiconFacade::up(const std::string& word) const {
    // Each thread walks in its own scratch over the shared network.
    thread_local dez::afst::WalkScratch<uint32_t> scratch;
    return static_cast<const dez::afst::WordLookup&>(*word_lookup).up(word, scratch);
}

std::vector<std::pair<int, std::string>> LexiconFacade::up(const char* begin,
                                                           const char* end) const {
    return word_lookup->up(begin, end, dez::afst::WordLookup::end_on_space::off);
}

} // namespace dez::trelix::core
