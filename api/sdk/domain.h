#pragma once

#include <map>
#include <string>

#include "callable_interface.h"
#include "engine.h"
#include "object.h"
#include "results.h"

namespace qvr::domain {

// A domain of an engine, run over results.
//
// Loading a domain (dez_api_load_domain) and running it over a result
// (dez_api_domain_process) come with the domain subsystem; the library has
// neither call yet. What completes this class then: the constructor from
// (engine object, domain name, options map) through
// wrapper_dez_api_load_domain, and the call with a result through
// wrapper_dez_api_domain_process, which first discards the result's parsed
// sentences because the domain changes the document. Until then the class
// stays abstract and cannot be made.
class Domain : public common::Object, public common::CallableInterface {
public:
    // A text call keeps the default: an empty result.
    using common::CallableInterface::operator();

private:
    std::map<std::string, std::string> domain_options;
    // The engine it was loaded from, kept alive with it.
    engine::Engine engine_copy;
};

} // namespace qvr::domain
