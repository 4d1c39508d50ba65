#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "api/sdk/raw_ptr_list.h"
#include "api/sdk/sentence_list.h"

namespace qvr::common::fixture {

// A file of tests/data/api; a missing file fails the test that reads it.
inline std::string read_data(const std::string& name) {
    std::ifstream in(std::string(TRELIX_TEST_DATA) + "/api/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing test data: api/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A list of parsed sentences that frees them with itself.
struct SentenceList {
    ~SentenceList() { destroy_sentences(list); }
    RawPtrList<Annotation> list;
};

} // namespace qvr::common::fixture
