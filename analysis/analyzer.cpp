#include "analysis/analyzer.h"

#include "analysis/option_collection.h"
#include "engine/engine_interface.h"
#include "engine/language_module.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace {

std::string option(const std::shared_ptr<dez::IOptions>& options, const char* key,
                   const char* default_value) {
    return options ? options->get(key, default_value) : std::string(default_value);
}

} // namespace

Analyzer::Analyzer(std::shared_ptr<EngineInterface> engine,
                   std::shared_ptr<LanguageModule> language_module,
                   std::shared_ptr<dez::IOptions> options)
    : options(std::move(options)), engine(std::move(engine)),
      language_module(std::move(language_module)) {
    dez::args::parse_option_collection(dbg_options, this->options, "dbg", "");
    allow_plugins = this->options ? this->options->get_bool("allow_plugins", true) : true;
    resolve_formated_attribute_function =
        option(this->options, "resolve_formated_attribute_function",
               "::python::trelix.plugin::resolve_formated_attribute");
    set_document_date_function = option(this->options, "set_document_date_function",
                                        "::python::trelix.plugin::set_document_date");
    resolve_date_function =
        option(this->options, "resolve_date_function", "::python::trelix.plugin::resolve_date");
    if (this->options && this->options->get_bool("unknown_things", false))
        flags |= 1;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
               "[Language] Options: [" << (this->options ? this->options->str() : std::string())
                                       << "]");
}

Analyzer::~Analyzer() = default;

} // namespace dez::trelix
