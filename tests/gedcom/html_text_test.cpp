#include "gedcom/html_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

struct Case {
    std::string_view html;
    std::string_view plain;
};

void ExpectPlain(const Case (&cases)[], std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(HtmlToPlainText(cases[i].html), cases[i].plain) << cases[i].html;
    }
}

TEST(HtmlToPlainText, ParagraphsAndBreaksStartLinesAndOtherTagsGo) {
    static const Case cases[] = {
        {"plain text", "plain text"},
        {"<p>First</p><p>Second</p>", "First\nSecond"},
        {"<P CLASS=\"x\">First</P>\n<p>Second", "First\nSecond"},
        {"one<br>two<BR/>three<br />four", "one\ntwo\nthree\nfour"},
        {"one<br><br>two", "one\n\ntwo"},
        {"<p></p><p>only</p><p></p><br>", "only"},
        {"<b>bold</b> and <i>italic</i>, <a href=\"x.html\">a link</a>", "bold and italic, a link"},
        {"<ul><li>one</li><li>two</li></ul><h2>Title</h2><div>end</div>", "one\ntwo\nTitle\nend"},
        {"a<!-- a <p> in a comment -->b", "ab"},
        {"a<!-- never closed", "a"},
        {"<p>Text written as &lt;p&gt;: &amp;lt;</p>", "Text written as <p>: &lt;"},
    };
    ExpectPlain(cases, std::size(cases));
}

// As a browser shows it: a run of blanks, tabs and line ends is one blank, none at a line's ends.
TEST(HtmlToPlainText, WhiteSpaceCollapses) {
    static const Case cases[] = {
        {"  several   blanks\tand\ttabs  ", "several blanks and tabs"},
        {"a line\nwritten over\r\nthree", "a line written over three"},
        {"<p>  Indented\n</p>\n\n<p>\tnext  </p>", "Indented\nnext"},
        {"one <br> two", "one\ntwo"},
        {"a&nbsp;&nbsp;b", "a\u00A0\u00A0b"},
    };
    ExpectPlain(cases, std::size(cases));
}

TEST(HtmlToPlainText, ReferencesAreDecodedAndUnknownOnesKept) {
    static const Case cases[] = {
        {"&amp; &lt; &gt; &quot; &apos;", "& < > \" '"},
        {"&#233;t&#xE9; &#X1F600;", "\u00e9t\u00e9 \U0001F600"},
        {"&#0; &#xD800; &#x110000;", "\uFFFD \uFFFD \uFFFD"},
        {"&eacute; &copy; &unknown;", "&eacute; &copy; &unknown;"},
        {"A & B, a&b, &; &#; &#x; &#12a;", "A & B, a&b, &; &#; &#x; &#12a;"},
        {"Smith &amp Sons", "Smith &amp Sons"},
        {"&#x00000041;&#0000000065;", "A&#0000000065;"},
    };
    ExpectPlain(cases, std::size(cases));
}

// Angle brackets that start no tag are text.
TEST(HtmlToPlainText, BracketsThatStartNoTagAreText) {
    static const Case cases[] = {
        {"a < b and c > d", "a < b and c > d"},
        {"1 <2", "1 <2"},
        {"x <y never closed", "x <y never closed"},
        {"<", "<"},
        {"caf\u00e9 <b>cr\u00e8me</b>", "caf\u00e9 cr\u00e8me"},
    };
    ExpectPlain(cases, std::size(cases));
}

} // namespace
} // namespace stirpex
