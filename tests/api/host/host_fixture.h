#pragma once

// What the host tests share: an engine and analyzer over the fixture language
// of tests/data/run, and reference counts read through the C interface.

#include <cstdint>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "api/dez_api.h"
#include "api/sdk/engine.h"
#include "api/sdk/qvr_exception.h"

namespace host_fixture {

using Options = std::map<std::string, std::string>;

inline Options engine_options() {
    const std::string data = std::string(TRELIX_TEST_DATA) + "/run";
    return {{"root_path", data}, {"morfex", data}};
}

inline const Options analyzer_options{{"language", "fixture"}};

// The kind of exception a call raises, most derived first; "" for none.
template <typename Call> std::pair<std::string, std::string> raised(Call call) {
    try {
        call();
    } catch (const qvr::common::JsonException& e) {
        return {"JsonException", e.what()};
    } catch (const qvr::common::Exception& e) {
        return {"Exception", e.what()};
    } catch (const std::logic_error& e) {
        return {"logic_error", e.what()};
    } catch (const std::runtime_error& e) {
        return {"runtime_error", e.what()};
    } catch (const std::exception& e) {
        return {"other", e.what()};
    }
    return {"", ""};
}

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
