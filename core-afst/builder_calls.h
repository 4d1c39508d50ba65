#pragma once

#include "core-afst/builder.h"

#include <string>

namespace dez::afst::detail {

// The builder operations that pattern lines and formatted strings turn into.
// The readers talk to this instead of the builder itself so that a sequence
// of calls can be checked without building networks.
class BuilderCalls {
public:
    virtual ~BuilderCalls() = default;
    virtual void pushArc(const std::string& lower, const std::string& upper) = 0;
    virtual void open_group() = 0;
    virtual void close_group(const std::string& modifier) = 0;
    virtual void separator(const std::string& text) = 0;
};

// The calls made on a real builder.
class BuilderCallsOn : public BuilderCalls {
public:
    explicit BuilderCallsOn(Builder& builder) : builder_(builder) {}
    void pushArc(const std::string& lower, const std::string& upper) override {
        builder_.pushArc(lower, upper);
    }
    void open_group() override { builder_.open_group(); }
    void close_group(const std::string& modifier) override { builder_.close_group(modifier); }
    void separator(const std::string& text) override { builder_.separator(text); }

private:
    Builder& builder_;
};

} // namespace dez::afst::detail
