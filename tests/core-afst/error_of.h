#pragma once

// Test helper: the text of the exception a call throws.

#include <exception>
#include <functional>
#include <string>

namespace afst_test {

inline std::string error_of(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "<no exception>";
}

} // namespace afst_test
