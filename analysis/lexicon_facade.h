#pragma once

#include <fst/fst-decl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/text_stream_type.h"

struct sqlite3;

namespace dez::afst {
class WordLookup;
}

namespace dez::trelix::core {

// One lexicon of a compiled domain: its transducer, the word lookup over it,
// its stored attributes and the document stream it is looked up on.
class LexiconFacade {
public:
    // The name is not kept.
    LexiconFacade(std::shared_ptr<fst::StdVectorFst> transducer, const std::string& name,
                  std::string attribute_text);
    // The first row of the store matching `key`. dez::Exception "Could not read
    // data from stream." when its bytes hold no transducer; std::out_of_range
    // when its "input" attribute names no stream.
    LexiconFacade(const std::shared_ptr<sqlite3>& connection, const std::string& key);
    ~LexiconFacade();
    LexiconFacade(const LexiconFacade&) = delete;
    LexiconFacade& operator=(const LexiconFacade&) = delete;

    // The outputs of exactly this word. Both lookups take no lock: a domain's
    // lexicons serve documents on several threads at once.
    std::vector<std::string> up(const std::string& word) const;
    // Every entry matching the text from `begin` on: (matched bytes, output).
    std::vector<std::pair<int, std::string>> up(const char* begin, const char* end) const;

    std::shared_ptr<fst::StdVectorFst> fst;
    std::shared_ptr<dez::afst::WordLookup> word_lookup;
    std::vector<std::pair<std::string, std::string>> attributes;
    dez::text_stream_type input = dez::literal;

private:
    void set_up(const std::string& attribute_text);
};

} // namespace dez::trelix::core
