#include "analysis/tokenize.h"

#include <string>

#include "document/annotation_collection.h"
#include "document/blackboard.h"
#include "document/token.h"

namespace dez::trelix {

// Stand-in until the ICU tokenizer lands: one token per run of bytes other
// than ASCII white space, so sentence spans can be tested.
bool tokenize(Blackboard& document, const char* begin, const char* end) {
    auto* sentence = static_cast<Sentence*>(document.annotations->tail);
    const char* text = document.text;
    bool made = false;
    const char* p = begin;
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v'))
            ++p;
        const char* word = p;
        while (p < end && !(*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v'))
            ++p;
        if (p == word)
            break;
        sentence->annotations.push_back(new Token(static_cast<uint32_t>(word - text),
                                                  static_cast<uint32_t>(p - text),
                                                  std::string(word, p)));
        made = true;
    }
    return made;
}

} // namespace dez::trelix
