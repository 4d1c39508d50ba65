#pragma once

#include <cstdint>

#include "foundation/dez_object.h"

namespace dez::api {

// What stands behind a handle, kept in the header's reserved field so that a
// handle of the wrong kind (or memory that is no handle) is refused instead
// of being cast. The values spell "dez" in their upper bytes.
enum class HandleKind : int32_t {
    engine = 0x64657a01,
    analyzer = 0x64657a02,
    result = 0x64657a03,
    domain = 0x64657a04,
    lid = 0x64657a05,
    lid_result = 0x64657a06,
    filter = 0x64657a07,
};

// True for the reserved value of a live handle of any kind.
bool is_handle_kind(int32_t reserved);

// The base of every object handed to a host: the C header first (one
// reference when made), then a virtual destructor through which the last
// release deletes it. Objects below the C interface (the language
// identifier) derive from it too.
class Object : public dez_object {
public:
    explicit Object(HandleKind kind) : dez_object{static_cast<int32_t>(kind), 1} {}
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    // Clears the kind, so a stale handle read before its memory is reused is
    // refused.
    virtual ~Object();

    HandleKind kind() const { return static_cast<HandleKind>(reserved); }
};

} // namespace dez::api
