#pragma once

// What the host tests share: an engine and analyzer over the fixture language
// of tests/data/run, and reference counts read through the C interface.

#include <cstdint>
#include <map>
#include <string>

#include "api/dez_api.h"
#include "api/sdk/engine.h"

namespace host_fixture {

using Options = std::map<std::string, std::string>;

inline Options engine_options() {
    const std::string data = std::string(TRELIX_TEST_DATA) + "/run";
    return {{"root_path", data}, {"morfex", data}};
}

inline const Options analyzer_options{{"language", "fixture"}};

// The references a handle has: add_ref answers the count before it.
inline int32_t references(dez_object* handle) {
    dez_exception error;
    error.code = 0;
    const int32_t count = dez_api_add_ref(handle, &error);
    dez_api_dec_ref(handle, &error);
    return count;
}

// One reference of our own, so that a handle's count can still be read
// after every wrapper object has let go of it.
class Watch {
public:
    explicit Watch(dez_object* watched) : handle(watched) {
        dez_exception error;
        error.code = 0;
        dez_api_add_ref(handle, &error);
    }
    ~Watch() {
        dez_exception error;
        error.code = 0;
        dez_api_dec_ref(handle, &error);
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    // The references others hold.
    int32_t others() const { return references(handle) - 1; }

private:
    dez_object* handle;
};

} // namespace host_fixture
