#pragma once

#include <string>

namespace dez::api {

// The per-thread texts some calls return: created empty on a thread's first
// use, valid until the same buffer is written again on that thread.
struct ThreadBuffers {
    std::string language_return_value;
    // Shared by the internal-JSON and profiling calls.
    std::string debug_buffer;
    std::string tl_document_id;
    std::string engine_info_data;
    std::string tl_languages;
    std::string filter_info_data;
    std::string pipline_data;
};

ThreadBuffers& thread_buffers();

} // namespace dez::api
