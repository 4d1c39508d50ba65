#pragma once

// Test helper: a receiver of builder calls that writes each call down.

#include "core-afst/builder_calls.h"

#include <string>
#include <vector>

namespace afst_test {

// Calls as texts: "a:x" for pushArc(a, x), "open", "close <modifier>", "union".
class RecordingBuilder : public dez::afst::detail::BuilderCalls {
public:
    void pushArc(const std::string& lower, const std::string& upper) override {
        calls.push_back(lower + ":" + upper);
    }
    void open_group() override { calls.push_back("open"); }
    void close_group(const std::string& modifier) override { calls.push_back("close " + modifier); }
    void separator(const std::string& text) override { calls.push_back(text); }

    std::vector<std::string> calls;
};

} // namespace afst_test
