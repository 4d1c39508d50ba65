#pragma once

namespace dez::api {

// What the public analyzer handle and the analyzer have in common: nothing
// but a virtual destructor. It sits this low because the analyzer derives
// from it.
class AnalyzerInterface {
public:
    virtual ~AnalyzerInterface() = default;
};

} // namespace dez::api
