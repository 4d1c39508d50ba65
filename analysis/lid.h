#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "foundation/api_object.h"

namespace dez {
class IOptions;
}

namespace dez::lid {
class LIDStoreInterface;
}

namespace dez::trelix {

class EngineInterface;

// The language identifier a host holds as a handle: a store over the engine's
// lid.fst, made once with the options (see dez::lid::LIDStore) and asked any
// number of times. Answers are language names (or codes with "long_names"
// off). Text that is not valid UTF-8 is refused with dez::Exception.
class Lid : public dez::api::Object {
public:
    // Fails when the engine has no lid.fst or the options are invalid.
    Lid(const EngineInterface* engine, std::shared_ptr<dez::IOptions> options);
    ~Lid() override;

    // The language of the whole text.
    virtual std::string lid(const char* text, std::size_t length) const;
    // The sections of the text, as a JSON array of {"begin_offset",
    // "end_offset", "language"[, "text"]}.
    virtual std::string language_sections(const char* text, std::size_t length) const;

    std::shared_ptr<dez::IOptions> options;
    std::shared_ptr<dez::lid::LIDStoreInterface> store;
};

} // namespace dez::trelix
