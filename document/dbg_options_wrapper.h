#pragma once

#include <string>

namespace dez::trelix {

class Analyzer;

// Asks an analyzer's debug-option set ("dbg") by name.
class dbg_options_wrapper {
public:
    explicit dbg_options_wrapper(const Analyzer* analyzer = nullptr) : analyzer(analyzer) {}

    // False without an analyzer.
    bool operator[](const std::string& name) const;

    const Analyzer* analyzer;
};

} // namespace dez::trelix
