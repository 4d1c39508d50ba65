#pragma once

#include <exception>
#include <iostream>
#include <utility>

#include "api/dez_api.h"
#include "handle_exception.h"

namespace qvr::common {

// Owns one reference of a C interface handle (or none, for a null handle).
// Copies share the handle and add a reference; assignment releases the
// reference held before only after the new one is taken (copy and swap), so
// no assignment leaks or releases a reference twice.
class Object {
public:
    Object() = default;

    // Adopts the first reference of a handle a creating call returned.
    explicit Object(dez_object* handle) : handle_(handle) {
        dez_exception error;
        error.code = 0;
        dez_api_construct(handle_, &error);
        try {
            handle_exception(error);
        } catch (...) {
            // Not adopted after all: the reference must not be lost.
            release();
            throw;
        }
    }

    Object(const Object& other) : handle_(other.handle_) {
        if (handle_) {
            dez_exception error;
            error.code = 0;
            dez_api_add_ref(handle_, &error);
            handle_exception(error);
        }
    }

    // The source is left without a handle.
    Object(Object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

    Object& operator=(Object other) noexcept {
        swap(other);
        return *this;
    }

    // Lets no exception out: a failed release is written to standard error.
    virtual ~Object() {
        try {
            release();
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
        }
    }

    void swap(Object& other) noexcept { std::swap(handle_, other.handle_); }

    dez_object* handle() const { return handle_; }

private:
    void release() {
        dez_object* handle = std::exchange(handle_, nullptr);
        if (handle) {
            dez_exception error;
            error.code = 0;
            dez_api_dec_ref(handle, &error);
            handle_exception(error);
        }
    }

    dez_object* handle_ = nullptr;
};

} // namespace qvr::common
