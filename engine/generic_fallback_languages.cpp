#include "engine/generic_fallback_languages.h"

namespace dez::trelix {

// Spelled as hosts send them ("slovac" included).
const std::set<std::string> generic_fallback_languages = {
    "albanian",  "arabic",    "basque",     "bengali", "bosnian",    "bulgarian", "burmese",
    "catalan",   "chinese",   "croatian",   "czech",   "estonian",   "farsi",     "finnish",
    "georgian",  "greek",     "hebrew",     "hindi",   "hungarian",  "icelandic", "irish",
    "italian",   "japanese",  "lao",        "korean",  "indonesian", "latvian",   "lithuanian",
    "malayalam", "norwegian", "pashto",     "polish",  "romanian",   "serbian",   "slovac",
    "slovene",   "somali",    "tamil",      "telugu",  "thai",       "tibetan",   "turkish",
    "ukrainian", "urdu",      "vietnamese",
};

} // namespace dez::trelix
