#pragma once

#include <cstdint>

namespace dez::trelix {

// How the rule matcher stores and tests encoded ids on an annotation. The base
// stores nothing and knows no id.
class IIsEncodable {
public:
    virtual ~IIsEncodable() = default;
    virtual void push(uint32_t const& id);
    virtual bool has(uint32_t const& id) const;
    virtual bool requires_match() const;
    virtual bool requires_match(bool const& value);
};

} // namespace dez::trelix
