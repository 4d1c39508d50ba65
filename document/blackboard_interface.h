#pragma once

namespace dez::api {

// How a result object holds its document without knowing its type.
class BlackboardInterface {
public:
    virtual ~BlackboardInterface() = default;
};

} // namespace dez::api
