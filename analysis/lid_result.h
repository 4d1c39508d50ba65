#pragma once

#include <string>

#include "foundation/api_object.h"

namespace dez::trelix {

// The language sections of one text, held for a host: the C interface makes
// it with one reference and hands out a pointer to `text`, valid until the
// last reference is released.
class LidResult : public dez::api::Object {
public:
    LidResult();
    ~LidResult() override;

    std::string text;
};

} // namespace dez::trelix
