#pragma once

#include <atomic>
#include <cstdint>

namespace dez::api {

// The base of every object handed to hosts as a handle. Only what the objects
// below the C interface need: the reference count, 1 when the object is made,
// and a virtual destructor so that releasing the last reference destroys the
// whole object. The C interface adds its handle header and the release calls.
class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    std::atomic<int32_t> ref_count{1};
};

} // namespace dez::api
