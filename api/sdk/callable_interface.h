#pragma once

#include <map>
#include <string>

#include "results.h"

namespace qvr::common {

// What domains and analyzers share: something a text or a result is passed
// through.
class CallableInterface {
public:
    virtual ~CallableInterface() = default;

    // Unless overridden: an empty result (null handle).
    virtual analyzer::Results operator()(const std::string& text,
                                         const std::map<std::string, std::string>& options) {
        (void)text;
        (void)options;
        return analyzer::Results();
    }

    virtual analyzer::Results operator()(analyzer::Results results) = 0;
};

} // namespace qvr::common
