#pragma once

#include <cxxabi.h>

#include <exception>
#include <stdexcept>

#include "api/dez_api.h"
#include "foundation/exception.h"

namespace dez::api {

// Stores the code and the message, cut to 1023 bytes and zero-filled, in the
// caller's record; a null record is left alone.
void fill_error(dez_exception* error, int32_t code, const char* message);

// Runs the body of a C entry point. On success the record is untouched; a
// failure fills it and answers `failure`. The most derived kinds are tested
// first; nothing but a thread's forced unwinding leaves the frame.
template <typename Result, typename Body>
Result error_frame(dez_exception* error, Result failure, Body&& body) {
    try {
        return body();
    } catch (const dez::JSONThrowException& e) {
        fill_error(error, 5, e.what());
    } catch (const dez::Exception& e) {
        fill_error(error, 1, e.what());
    } catch (const std::runtime_error& e) {
        fill_error(error, 3, e.what());
    } catch (const std::logic_error& e) {
        fill_error(error, 4, e.what());
    } catch (const std::exception& e) {
        fill_error(error, 2, e.what());
    } catch (abi::__forced_unwind&) {
        throw;
    } catch (...) {
        fill_error(error, 2, "unknown exception");
    }
    return failure;
}

// The frame of a call that answers nothing.
template <typename Body> void error_frame_void(dez_exception* error, Body&& body) {
    error_frame(error, 0, [&] {
        body();
        return 0;
    });
}

} // namespace dez::api
