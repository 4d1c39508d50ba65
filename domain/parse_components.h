#pragma once

#include <string>
#include <vector>

#include "domain/pipeline_component.h"

namespace dez::pipeline {

// Splits a pipeline text "name(options),name,..." into its components, in
// order. Commas inside an option group belong to it; a later group in one
// component makes the text before it, earlier group included, the original.
// An empty component before a comma is kept (the expansion skips it); an
// empty last one is dropped. A ")" without its "(" or a "(" never closed
// throws pipeline_error: either would otherwise hide the components after it.
std::vector<Component> parse_components(const std::string& text);

} // namespace dez::pipeline
