#include "matcher/attribute_parser_matcher.h"

#include <string>
#include <utility>

#include <boost/fusion/include/std_pair.hpp>
#include <boost/spirit/include/qi.hpp>

#include "matcher/attribute_parser_driver.h"

namespace dez::trelix {

// The attribute conditions of rule labels. The opening delimiter stays in
// the value: the concept test reads it to tell a literal ('"') from a
// regular expression ('/').
template <typename Iterator>
struct attribute_parser_matcher : boost::spirit::qi::grammar<Iterator, Attributes()> {
    using Skipper = boost::spirit::qi::rule<Iterator>;

    attribute_parser_matcher()
        : attribute_parser_matcher::base_type(start, "attribute_parser_matcher") {
        namespace qi = boost::spirit::qi;
        using qi::char_;
        using qi::lit;

        white_space = char_(attribute_white_space_set);
        // Skips before the name, '=', the value and each ';'; the name and
        // the value rules take no skipper, so nothing is skipped inside them.
        // alias(): skip() would otherwise keep a copy of the rule that dies
        // with this statement.
        start = qi::skip(white_space.alias())[lit('@') >> (qr_pair % lit(';'))];
        qr_pair = name >> lit('=') >> quoted_string;
        name = +(char_ - lit('='));
        // hold: a form that fails half-way must leave nothing in the value.
        quoted_string =
            qi::hold[double_quoted_marked] | qi::hold[slash_marked] | triple_quoted_plain;
        double_quoted_marked =
            char_('"') >> +((char_('\\') > lit('"')) | (char_ - lit('"'))) >> lit('"');
        slash_marked = char_('/') >> +(char_ - lit('/')) >> lit('/');
        triple_quoted_plain = lit("\"\"\"") >> +(char_ - lit("\"\"\"")) >> lit("\"\"\"");

        start.name("start");
        qr_pair.name("qr_pair");
        name.name("name");
        quoted_string.name("quoted_string");
        double_quoted_marked.name("double_quoted_marked");
        slash_marked.name("slash_marked");
        triple_quoted_plain.name("triple_quoted_plain");
        white_space.name("white_space");
    }

    boost::spirit::qi::rule<Iterator, Attributes()> start;
    boost::spirit::qi::rule<Iterator, std::pair<std::string, boost::any>(), Skipper> qr_pair;
    boost::spirit::qi::rule<Iterator, std::string()> name;
    boost::spirit::qi::rule<Iterator, std::string()> quoted_string;
    boost::spirit::qi::rule<Iterator, std::string()> double_quoted_marked;
    boost::spirit::qi::rule<Iterator, std::string()> slash_marked;
    boost::spirit::qi::rule<Iterator, std::string()> triple_quoted_plain;
    Skipper white_space;
};

Attributes parse_attributes_matcher(const std::string& text) {
    return parse_attributes_with_grammer<attribute_parser_matcher<std::string::const_iterator>>(
        text);
}

} // namespace dez::trelix
