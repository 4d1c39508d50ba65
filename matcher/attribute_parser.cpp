#include "matcher/attribute_parser.h"

#include <string>
#include <utility>

#include <boost/fusion/include/std_pair.hpp>
#include <boost/phoenix/function.hpp>
#include <boost/phoenix/operator.hpp>
#include <boost/spirit/include/qi.hpp>

#include "matcher/attribute_parser_driver.h"

namespace dez::trelix {

namespace {

struct make_format_value_impl {
    using result_type = AttributeFormatValue;
    AttributeFormatValue operator()(const std::string& format) const { return {format, {}}; }
};

} // namespace

// The attributes of a concept as a rule writes them. No white space is
// skipped inside: it belongs to the names and values.
template <typename Iterator>
struct attribute_parser : boost::spirit::qi::grammar<Iterator, Attributes()> {
    attribute_parser() : attribute_parser::base_type(start, "attribute_parser") {
        namespace qi = boost::spirit::qi;
        using qi::_1;
        using qi::_val;
        using qi::char_;
        using qi::lit;

        start = lit('@') >> (qr_pair % lit(';'));
        qr_pair = name >> lit('=') >> value;
        // Tried in this order: a broken quoted form falls through to a bare
        // value. Only 'f' directly before a quote commits to a formatted value,
        // so bare words such as female or false stay plain values.
        value = quoted_string[_val = _1] | triple_quoted_string[_val = _1] |
                (lit('f') >> &lit('"') > (raw_formated_string | quoted_formatted_string))[_val = _1] |
                bare_value[_val = _1];
        name = +(char_ - lit('='));
        quoted_string = lit('"') >> quoted_text >> lit('"');
        quoted_text = +(escaped_quote | white_space | (char_ - lit('"')));
        escaped_quote = lit('\\') >> char_('"');
        white_space = char_(attribute_white_space_set);
        triple_quoted_string = lit("\"\"\"") >> +(char_ - lit("\"\"\"")) >> lit("\"\"\"");
        raw_formated_string = triple_quoted_string[_val = make_format_value(_1)];
        quoted_formatted_string = (lit('"') > quoted_text > lit('"'))[_val = make_format_value(_1)];
        bare_value = +(char_ - lit(';'));

        start.name("start");
        qr_pair.name("qr_pair");
        value.name("value");
        name.name("name");
        quoted_string.name("quoted_string");
        quoted_text.name("quoted_text");
        escaped_quote.name("escaped_quote");
        white_space.name("white_space");
        triple_quoted_string.name("triple_quoted_string");
        raw_formated_string.name("raw_formated_string");
        quoted_formatted_string.name("quoted_formatted_string");
        bare_value.name("bare_value");
    }

    boost::phoenix::function<make_format_value_impl> make_format_value;

    boost::spirit::qi::rule<Iterator, Attributes()> start;
    boost::spirit::qi::rule<Iterator, std::pair<std::string, boost::any>()> qr_pair;
    boost::spirit::qi::rule<Iterator, boost::any()> value;
    boost::spirit::qi::rule<Iterator, std::string()> name;
    boost::spirit::qi::rule<Iterator, std::string()> quoted_string;
    boost::spirit::qi::rule<Iterator, std::string()> quoted_text;
    boost::spirit::qi::rule<Iterator, char()> escaped_quote;
    boost::spirit::qi::rule<Iterator, char()> white_space;
    boost::spirit::qi::rule<Iterator, std::string()> triple_quoted_string;
    boost::spirit::qi::rule<Iterator, AttributeFormatValue()> raw_formated_string;
    boost::spirit::qi::rule<Iterator, AttributeFormatValue()> quoted_formatted_string;
    boost::spirit::qi::rule<Iterator, std::string()> bare_value;
};

Attributes parse_attributes(const std::string& text) {
    return parse_attributes_with_grammer<attribute_parser<std::string::const_iterator>>(text);
}

} // namespace dez::trelix
