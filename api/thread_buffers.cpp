#include "api/thread_buffers.h"

namespace dez::api {

ThreadBuffers& thread_buffers() {
    thread_local ThreadBuffers buffers;
    return buffers;
}

} // namespace dez::api
