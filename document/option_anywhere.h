#pragma once

#include <string>

#include "foundation/options.h"

namespace dez::trelix {

class Blackboard;

// A document's options falling back to its analyzer's: the document's value
// wins wherever the document sets the key. Read-only.
class OptionAnywhere : public dez::IOptions {
public:
    explicit OptionAnywhere(const Blackboard& blackboard) : blackboard(blackboard) {}

    std::string get(const char* key) const override;
    std::string get(const char* key, std::string default_value) const override;
    bool get_bool(const char* key, bool default_value) const override;
    // The analyzer's options only, and only while the document still holds
    // its analyzer.
    std::string str() const override;
    bool has(const char* key) const override;
    // Ignored.
    void add(const std::string& key, const std::string& value) override;
    ~OptionAnywhere() override = default;

    const Blackboard& blackboard;
};

} // namespace dez::trelix
