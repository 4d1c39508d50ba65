#include <gtest/gtest.h>

#include <string>

#include "compiler/frontend/check_fstring_pattern.h"

namespace dez::compiler {
namespace {

TEST(FstringVariable, PathSyntax) {
    struct Case {
        const char* variable;
        bool valid;
    };
    for (const Case& c : {
             Case{"{capture.name}", true},
             Case{"{this.text.lower()}", true},
             Case{"{capture[0]}", true},
             Case{"{normalize(capture.name)}", true},
             Case{"{capture[0].text}", true},
             Case{"{capture(x)[1]}", true},
             Case{"{sentence.a_b9}", true},
             Case{"{capture}", false},     // no path
             Case{"{self.name}", false},   // not a variable name
             Case{"{.name}", false},       // empty head
             Case{"{rule.}", false},       // '.' before the brace
             Case{"{rule.na-me}", false},  // bad segment
             Case{"{capture(x}", false},   // ')' missing
             Case{"{capture[0}", false},   // ']' missing
             Case{"{capture(x)y}", false}, // nothing allowed after ')'
             Case{"{a.b}", false},         // shorter than five bytes... and unknown
             Case{"capture.name", false},
         }) {
        EXPECT_EQ(check_fstring_variable(c.variable), c.valid) << c.variable;
    }
}

TEST(FstringPattern, CountsVariables) {
    struct Case {
        const char* text;
        int result;
    };
    for (const Case& c : {
             Case{"", 0},
             Case{"plain text", 0},
             Case{"{{capture.name}}", 0},
             Case{"{{ and }}", 0},
             Case{"{capture.name}", 1},
             Case{"Dr. {capture.first} {capture.last}!", 2},
             Case{"{capture.name} {self.x}", -2},
             Case{"{capture.eval}", -1},
             Case{"{capture.__class__}", -1},
             Case{"{this.os}", 1},
             Case{"{this.text.iter()}", -1},
         }) {
        EXPECT_EQ(check_fstring_pattern(c.text), c.result) << c.text;
    }
}

} // namespace
} // namespace dez::compiler
