#include "foundation/language_table.h"

#include "foundation/file.h"

namespace dez::language {

namespace {

// Answers handed out by reference; they live as long as the process.
const std::string& not_supported() {
    static const std::string text = "not-supported";
    return text;
}

const std::string& no_genitive() {
    static const std::string text;
    return text;
}

// The tables are function-local statics so that code running during load finds
// them built; they never change afterwards and need no lock.
const std::map<std::string, std::string>& code_table() {
    static const std::map<std::string, std::string> table = [] {
        static const char* const rows[][2] = {
            {"AA", "afar"},
            {"AB", "abkhazian"},
            {"AE", "avestan"},
            {"AF", "afrikaans"},
            {"AK", "akan"},
            {"AM", "amharic"},
            {"AN", "aragonese"},
            {"AR", "arabic"},
            {"AS", "assamese"},
            {"AV", "avaric"},
            {"AY", "aymara"},
            {"AZ", "azerbaijani"},
            {"BA", "bashkir"},
            {"BE", "belarusian"},
            {"BG", "bulgarian"},
            {"BH", "bihari"},
            {"BI", "bislama"},
            {"BM", "bambara"},
            {"BN", "bengali"},
            {"BO", "tibetan"},
            {"BR", "breton"},
            {"BS", "bosnian"},
            {"CA", "catalan"},
            {"CE", "chechen"},
            {"CH", "chamorro"},
            {"CO", "corsican"},
            {"CR", "cree"},
            {"CS", "czech"},
            {"CV", "chuvash"},
            {"CY", "welsh"},
            {"DA", "danish"},
            {"DE", "german"},
            {"DK", "danish"},
            {"DV", "divehi"},
            {"DZ", "dzongkha"},
            {"EE", "ewe"},
            {"EL", "greek"},
            {"EN", "english"},
            {"EO", "esperanto"},
            {"ES", "spanish"},
            {"ET", "estonian"},
            {"EU", "basque"},
            {"FA", "persian-farsi"},
            {"FF", "fula"},
            {"FI", "finnish"},
            {"FJ", "fijian"},
            {"FO", "faroese"},
            {"FR", "french"},
            {"FY", "frisian"},
            {"GA", "irish"},
            {"GD", "gaelic-scottish"},
            {"GL", "galician"},
            {"GN", "guarani"},
            {"GU", "gujarati"},
            {"GV", "gaelic-manx"},
            {"HA", "hausa"},
            {"HE", "hebrew"},
            {"HI", "hindi"},
            {"HO", "hiri-motu"},
            {"HR", "croatian"},
            {"HT", "haitian-creole"},
            {"HU", "hungarian"},
            {"HY", "armenian"},
            {"HZ", "herero"},
            {"IA", "interlingua"},
            {"ID", "indonesian"},
            {"IE", "interlingue"},
            {"IG", "igbo"},
            {"II", "nuosu"},
            {"IK", "inupiak"},
            {"IO", "ido"},
            {"IS", "icelandic"},
            {"IT", "italian"},
            {"IU", "inuktitut"},
            {"JA", "japanese"},
            {"JV", "javanese"},
            {"KA", "georgian"},
            {"KG", "kongo"},
            {"KI", "kikuyu"},
            {"KJ", "kwanyama"},
            {"KK", "kazakh"},
            {"KL", "greenlandic"},
            {"KM", "khmer"},
            {"KN", "kannada"},
            {"KO", "korean"},
            {"KR", "kanuri"},
            {"KS", "kashmiri"},
            {"KU", "kurdish"},
            {"KV", "komi"},
            {"KW", "cornish"},
            {"KY", "kyrgyz"},
            {"LA", "latin"},
            {"LB", "luxembourgish"},
            {"LG", "luganda-ganda"},
            {"LI", "limburgish"},
            {"LN", "lingala"},
            {"LO", "lao"},
            {"LT", "lithuanian"},
            {"LU", "luga-katanga"},
            {"LV", "latvian"},
            {"MG", "malagasy"},
            {"MH", "marshallese"},
            {"MI", "maori"},
            {"MK", "macedonian"},
            {"ML", "malayalam"},
            {"MN", "mongolian"},
            {"MO", "moldavian"},
            {"MR", "marathi"},
            {"MS", "malay"},
            {"MT", "maltese"},
            {"MY", "burmese"},
            {"NA", "nauru"},
            {"ND", "northern-ndebele"},
            {"NE", "nepali"},
            {"NG", "ndonga"},
            {"NL", "dutch"},
            {"NO", "norwegian"},
            {"NR", "southern ndebele"},
            {"NV", "navajo"},
            {"NY", "chichewa"},
            {"OC", "occitan"},
            {"OJ", "ojibwe"},
            {"OM", "oromo"},
            {"OR", "oriya"},
            {"OS", "ossetian"},
            {"PA", "punjabi"},
            {"PI", "pāli"},
            {"PL", "polish"},
            {"PO", "portuguese"},
            {"PS", "pashto"},
            {"PT", "portuguese"},
            {"QU", "quechua"},
            {"RM", "romansh"},
            {"RN", "kirundi"},
            {"RO", "romanian"},
            {"RU", "russian"},
            {"RW", "rwanda"},
            {"SA", "sanskrit"},
            {"SD", "sindhi"},
            {"SE", "sami"},
            {"SG", "sango"},
            {"SH", "serbo-croatian"},
            {"SI", "sinhalese"},
            {"SK", "slovak"},
            {"SL", "slovenian"},
            {"SM", "samoan"},
            {"SN", "shona"},
            {"SO", "somali"},
            {"SQ", "albanian"},
            {"SR", "serbian"},
            {"SS", "siswati"},
            {"ST", "sesotho"},
            {"SU", "sundanese"},
            {"SV", "swedish"},
            {"SW", "swahili-kiswahili"},
            {"TA", "tamil"},
            {"TE", "telugu"},
            {"TG", "tajik"},
            {"TH", "thai"},
            {"TI", "tigrinya"},
            {"TK", "turkmen"},
            {"TL", "tagalog"},
            {"TN", "setswana"},
            {"TO", "tonga"},
            {"TR", "turkish"},
            {"TS", "tsonga"},
            {"TT", "tatar"},
            {"TW", "twi"},
            {"TY", "tahitian"},
            {"UG", "uyghur"},
            {"UK", "ukrainian"},
            {"UR", "urdu"},
            {"UZ", "uzbek"},
            {"VE", "venda"},
            {"VI", "vietnamese"},
            {"VO", "volapük"},
            {"WA", "wallon"},
            {"WO", "wolof"},
            {"XH", "xhosa"},
            {"YI", "yiddish"},
            {"YO", "yoruba"},
            {"ZA", "zhuang-chuang"},
            {"ZH", "chinese"},
            {"ZH-HANS", "chinese-simplified"},
            {"ZH-HANT", "chinese-traditional"},
            {"ZU", "zulu"},
        };
        std::map<std::string, std::string> codes;
        for (const auto& row : rows)
            codes.emplace(row[0], row[1]); // the first row of a code wins
        return codes;
    }();
    return table;
}

// A name shared by two codes keeps the code that sorts first.
const std::map<std::string, std::string>& name_table() {
    static const std::map<std::string, std::string> table = [] {
        std::map<std::string, std::string> names;
        for (const auto& [code, name] : code_table())
            names.emplace(name, code);
        return names;
    }();
    return table;
}

const std::map<std::string, std::string>& genitive_table() {
    static const std::map<std::string, std::string> table = {
        {"danish", "s"}, {"norwegian", "s"}, {"german", "s"}, {"dutch", "s"}, {"swedish", "s"},
    };
    return table;
}

// Builds every table while the library loads.
[[maybe_unused]] const bool tables_built =
    (code_table(), name_table(), genitive_table(), not_supported(), no_genitive(), true);

} // namespace

const std::map<std::string, std::string>& get_language_map() {
    return code_table();
}

const std::map<std::string, std::string>& language_map() {
    return code_table();
}

std::set<std::string> get_language_codes() {
    std::set<std::string> codes;
    for (const auto& entry : code_table())
        codes.insert(codes.end(), entry.first);
    return codes;
}

std::string longname(const std::string& language, bool check) {
    std::string text = language;
    if (text.size() == 2) {
        for (auto& c : text)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        const auto found = code_table().find(text);
        return found == code_table().end() ? not_supported() : found->second;
    }
    if (dez::file::is_regular_file(text))
        return text;
    for (auto& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (check && name_table().count(text) == 0)
        return not_supported();
    return text;
}

const std::string& get_code(const std::string& name) {
    const auto found = name_table().find(name);
    return found == name_table().end() ? not_supported() : found->second;
}

bool is_known_language(const std::string& name) {
    return name_table().count(name) != 0;
}

const std::string& get_genitive_form(const std::string& name) {
    const auto found = genitive_table().find(name);
    return found == genitive_table().end() ? no_genitive() : found->second;
}

} // namespace dez::language
