#include "files/XmlDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "tests/support/ReadFile.h"

namespace pagelark {
namespace {

// Every element reachable from the document level, in text order, with its
// name, offsets and text: what a fresh parse of the same text must reproduce.
using Walked = std::tuple<std::string, int, int, int, int, int, std::string>;

void Walk(const XmlDocument& doc, int first, std::vector<Walked>& out) {
    for (int e = first; e != 0; e = doc.Span(e).nextSibling) {
        const ElementSpan& s = doc.Span(e);
        out.emplace_back(std::string(doc.TagName(e)), s.tagStart, s.tagEnd, s.closeStart,
                         s.closeEnd, s.nextTag, doc.GetElementText(e));
        Walk(doc, s.firstChild, out);
    }
}

std::vector<Walked> Walk(const XmlDocument& doc) {
    std::vector<Walked> out;
    Walk(doc, doc.Span(0).firstChild, out);
    return out;
}

TEST(XmlDocument, LoadFailuresLeaveAnEmptyDocument) {
    for (const char* text :
         {"", "<!-- note -->", "<?xml version=\"1.0\"?>", "<a><b/><!-- note --></a>",
          "<a><!-- note --></a>", "<!DOCTYPE a><a/>", "<a></A>", "<a><b></a>", "just text", "<a>",
          "</a>", "<a/", "<a></a", "<!--no blanks--><a/>"}) {
        XmlDocument doc;
        EXPECT_FALSE(doc.Load(text)) << text;
        EXPECT_EQ(doc.GetText(), "") << text;
        EXPECT_FALSE(doc.FindElement()) << text;
    }
    XmlDocument doc;
    EXPECT_FALSE(doc.Load(nullptr));
}

TEST(XmlDocument, LoadSuccesses) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Load("<a/>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetElementText(doc.Current()), "");
    EXPECT_FALSE(doc.FindChildElement());

    ASSERT_TRUE(
        doc.Load("<?xml version=\"1.0\"?>\r\n<!-- note -->\r\n<a><b/><!-- x --><c>t</c></a>"));
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.FindChildElement("c"));  // the comment between the children is skipped
    EXPECT_EQ(doc.GetChildText(), "t");

    ASSERT_TRUE(doc.Load("<a>x</a junk>"));
    ASSERT_TRUE(doc.Load("<a/><b/>"));  // only the first element is indexed
    EXPECT_TRUE(doc.FindElement("a"));
    EXPECT_FALSE(doc.FindElement("b"));
    EXPECT_EQ(doc.GetText(), "<a/><b/>");

    ASSERT_TRUE(doc.Load("<a href=/x>"));  // an unquoted "/" anywhere: empty form
    ASSERT_TRUE(doc.Load("<xml version=1.0><item/></xml>"));
    ASSERT_TRUE(doc.FindElement("xml"));
    EXPECT_TRUE(doc.FindChildElement("item"));
    EXPECT_FALSE(doc.FindElement("XML"));  // names are compared case-sensitively
}

TEST(XmlDocument, NestingDeeperThanTheLimitFailsToLoad) {
    const auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a>";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        return text;
    };
    XmlDocument doc;
    EXPECT_TRUE(doc.Load(nested(XmlDocument::kMaxDepth).c_str()));
    EXPECT_FALSE(doc.Load(nested(XmlDocument::kMaxDepth + 1).c_str()));
    EXPECT_FALSE(doc.Load(nested(100000).c_str()));  // no stack overflow
}

// Quoted tokens can make a failed element's end tag turn up inside it, so
// the same bytes get parsed again at every level; this text took seconds.
TEST(XmlDocument, ATextParsedOverAndOverGivesUp) {
    const std::string bytes = ReadFile(std::string(PAGELARK_TEST_DATA) + "/reparse.xml");
    ASSERT_GT(bytes.size(), 1000u);
    XmlDocument doc;
    EXPECT_FALSE(doc.Load(bytes.c_str()));
    EXPECT_EQ(doc.NextFree(), 1);
}

TEST(XmlDocument, EscapingBothWays) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Load("<a>x &lt; y &amp; &#65; &bogus; &amp;lt; &quot;&apos;&gt;&lt</a>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetElementText(doc.Current()), "x < y & &#65; &bogus; &lt; \"'>&lt");
    EXPECT_EQ(XmlDocument::EscapeText("<a&b>'\"", XmlDocument::EscapeMode::Element),
              "&lt;a&amp;b&gt;'\"");
    EXPECT_EQ(XmlDocument::EscapeText("<a&b>'\"", XmlDocument::EscapeMode::Attribute),
              "&lt;a&amp;b&gt;&apos;&quot;");
    EXPECT_EQ(XmlDocument::EscapeText("\xe4\xb8\xad", XmlDocument::EscapeMode::Element),
              "\xe4\xb8\xad");
}

TEST(XmlDocument, BuildsTheItemLayout) {
    XmlDocument doc;
    doc.ResetCursor();
    EXPECT_TRUE(doc.AddElement("item"));
    EXPECT_TRUE(doc.SetAttributeInt("id", 3));
    EXPECT_TRUE(doc.AddChildElement("name", "A&B"));
    EXPECT_TRUE(doc.AddChildElement("url", ""));
    EXPECT_EQ(doc.GetText(), "<item id=\"3\">\r\n<name>A&amp;B</name>\r\n<url/>\r\n</item>\r\n");
    EXPECT_EQ(doc.Span(0).closeStart, static_cast<int>(doc.GetText().size()));

    doc.ResetCursor();
    doc.AddElement("first", "1");  // after ResetCursor the new element goes first
    EXPECT_EQ(doc.GetText().substr(0, 17), "<first>1</first>\r");
    doc.ResetCursor();
    ASSERT_TRUE(doc.FindElement("item"));
    ASSERT_TRUE(doc.FindChildElement("name"));
    EXPECT_EQ(doc.GetChildText(), "A&B");
    EXPECT_TRUE(doc.AddChildElement("format", "f"));  // after the current child
    EXPECT_EQ(doc.GetText(),
              "<first>1</first>\r\n<item id=\"3\">\r\n<name>A&amp;B</name>\r\n"
              "<format>f</format>\r\n<url/>\r\n</item>\r\n");
}

TEST(XmlDocument, AttributesAreReplacedOrAdded) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Load("<xml version=1.0><e k=\"old\"/></xml>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_TRUE(doc.SetAttribute("version", "2"));  // unquoted value: a second attribute
    EXPECT_EQ(doc.GetText(), "<xml version=1.0 version=\"2\"><e k=\"old\"/></xml>");
    ASSERT_TRUE(doc.FindChildElement("e"));
    ASSERT_TRUE(doc.EnterChild());
    EXPECT_TRUE(doc.SetAttribute("k", "a\"b'"));
    EXPECT_TRUE(doc.SetAttribute("n", "1"));  // before the "/" of the empty form
    EXPECT_EQ(doc.GetText(),
              "<xml version=1.0 version=\"2\"><e k=\"a&quot;b&apos;\" n=\"1\"/></xml>");
    EXPECT_TRUE(doc.SetAttribute("k", ""));
    EXPECT_EQ(doc.GetText(), "<xml version=1.0 version=\"2\"><e k=\"\" n=\"1\"/></xml>");
}

TEST(XmlDocument, ElementTextAndEmptyForm) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Load("<r><n/><m>old</m></r>"));
    ASSERT_TRUE(doc.FindElement());
    const int root = doc.Current();
    ASSERT_TRUE(doc.FindChildElement("n"));
    EXPECT_TRUE(doc.SetChildText("1<2"));
    EXPECT_EQ(doc.GetText(), "<r><n>1&lt;2</n><m>old</m></r>");
    ASSERT_TRUE(doc.FindChildElement("m"));
    EXPECT_TRUE(doc.SetChildText(""));
    EXPECT_EQ(doc.GetText(), "<r><n>1&lt;2</n><m></m></r>");
    EXPECT_FALSE(doc.SetElementText(root, "x"));  // has children
    EXPECT_FALSE(doc.SetElementText(0, "x"));
}

TEST(XmlDocument, AddingToAnEmptyFormParentConvertsIt) {
    XmlDocument doc;
    doc.AddElement("item");
    doc.SetAttributeInt("id", 3);
    ASSERT_EQ(doc.GetText(), "<item id=\"3\"/>\r\n");
    doc.AddChildElement("name", "x");
    EXPECT_EQ(doc.GetText(), "<item id=\"3\">\r\n<name>x</name>\r\n</item>\r\n");
    EXPECT_EQ(doc.GetChildText(), "x");
}

TEST(XmlDocument, RemovingTakesTheLineEndAlong) {
    XmlDocument doc;
    doc.AddElement("b", "2");
    doc.ResetCursor();
    doc.AddElement("a", "1");
    ASSERT_EQ(doc.GetText(), "<a>1</a>\r\n<b>2</b>\r\n");
    doc.ResetCursor();
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_TRUE(doc.RemoveElement());
    EXPECT_EQ(doc.GetText(), "<b>2</b>\r\n");
    EXPECT_EQ(doc.Current(), 0);
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetElementText(doc.Current()), "2");
    EXPECT_FALSE(XmlDocument().RemoveElement());
}

// Marks are not told about removals; a stale one must not break the document.
TEST(XmlDocument, AStaleMarkCannotTieTheListInARing) {
    XmlDocument doc;
    for (const char* name : {"c", "b", "a"}) {
        doc.ResetCursor();
        doc.AddElement(name, "t");
        doc.SaveMark(name);
    }
    ASSERT_TRUE(doc.RestoreMark("b"));
    ASSERT_TRUE(doc.RemoveElement());
    ASSERT_TRUE(doc.RestoreMark("b"));
    EXPECT_FALSE(doc.RemoveElement());
    EXPECT_EQ(doc.GetText(), "<a>t</a>\r\n<c>t</c>\r\n");
    doc.ResetCursor();
    int count = 0;
    while (doc.FindElement() && count < 10)
        ++count;
    EXPECT_EQ(count, 2);
}

// Three items newest first, each "<item>" with a "name" child, marked "1" to "3".
XmlDocument ThreeItems() {
    XmlDocument doc;
    for (int i = 1; i <= 3; ++i) {
        doc.ResetCursor();
        doc.AddElement("item");
        doc.AddChildElement("name", "n" + std::to_string(i));
        doc.ClearChildCursor();
        doc.SaveMark(std::to_string(i).c_str());
    }
    return doc;
}

// A mark into an item that was removed names elements that are gone from the
// text; whatever comes through it must leave the other items alone.
TEST(XmlDocument, ElementsOfARemovedItemAreRefused) {
    const std::vector<std::pair<const char*, bool (*)(XmlDocument&)>> edits = {
        {"RemoveElement", [](XmlDocument& d) { return d.RemoveElement(); }},
        {"AddElement", [](XmlDocument& d) { return d.AddElement("x", "y"); }},
        {"AddChildElement", [](XmlDocument& d) { return d.AddChildElement("x", "y"); }},
        {"SetAttribute", [](XmlDocument& d) { return d.SetAttribute("k", "v"); }},
        {"SetElementText", [](XmlDocument& d) { return d.SetElementText(d.Current(), "t"); }},
        {"SetChildText", [](XmlDocument& d) { return d.SetChildText("t"); }},
        {"FindElement", [](XmlDocument& d) { return d.FindElement(); }},
        {"FindChildElement", [](XmlDocument& d) { return d.FindChildElement(); }},
        {"EnterChild", [](XmlDocument& d) { return d.EnterChild(); }},
        {"LeaveToParent", [](XmlDocument& d) { return d.LeaveToParent(); }},
        {"SaveMark", [](XmlDocument& d) { return d.SaveMark("again"); }},
    };
    for (const auto& [label, edit] : edits) {
        XmlDocument doc = ThreeItems();
        ASSERT_TRUE(doc.RestoreMark("2"));
        ASSERT_TRUE(doc.EnterChild());
        ASSERT_TRUE(doc.SaveMark("name of 2"));
        ASSERT_TRUE(doc.LeaveToParent());
        ASSERT_TRUE(doc.SaveMark("2 at its name"));
        ASSERT_TRUE(doc.RemoveElement());
        const std::string text = doc.GetText();
        ASSERT_EQ(
            text,
            "<item>\r\n<name>n3</name>\r\n</item>\r\n<item>\r\n<name>n1</name>\r\n</item>\r\n");
        for (const char* mark : {"name of 2", "2 at its name"}) {
            ASSERT_TRUE(doc.RestoreMark(mark));
            const int current = doc.Current();
            EXPECT_FALSE(edit(doc)) << label << " through " << mark;
            EXPECT_EQ(doc.GetText(), text) << label << " through " << mark;
            EXPECT_EQ(doc.Current(), current) << label << " through " << mark;
            EXPECT_EQ(doc.GetElementText(current), "") << label;
            EXPECT_EQ(doc.TagName(current), "") << label;
        }
    }
}

// The text holds no zero bytes (a saved file would end at the first one), and
// every name written must read back as the same one word, or the index would
// disagree with the text it describes.
TEST(XmlDocument, WhatWouldBreakTheTextIsRefused) {
    using namespace std::string_literals;
    using Edit = bool (*)(XmlDocument&, const std::string&);
    const std::vector<std::pair<const char*, Edit>> valueEdits = {
        {"AddElement", [](XmlDocument& d, const std::string& v) { return d.AddElement("x", v); }},
        {"AddChildElement",
         [](XmlDocument& d, const std::string& v) { return d.AddChildElement("x", v); }},
        {"SetAttribute",
         [](XmlDocument& d, const std::string& v) { return d.SetAttribute("k", v); }},
        {"SetChildText", [](XmlDocument& d, const std::string& v) { return d.SetChildText(v); }},
        {"SetElementText",
         [](XmlDocument& d, const std::string& v) { return d.SetElementText(d.Child(), v); }},
    };
    const std::vector<std::pair<const char*, Edit>> nameEdits = {
        {"AddElement", [](XmlDocument& d, const std::string& n) { return d.AddElement(n, "t"); }},
        {"AddChildElement",
         [](XmlDocument& d, const std::string& n) { return d.AddChildElement(n); }},
        {"SetAttribute",
         [](XmlDocument& d, const std::string& n) { return d.SetAttribute(n, "v"); }},
    };
    const auto refused = [](Edit edit, const std::string& argument) {
        XmlDocument doc = ThreeItems();
        doc.RestoreMark("2");
        doc.FindChildElement();
        const std::string text = doc.GetText();
        return !edit(doc, argument) && doc.GetText() == text;
    };
    for (const auto& [label, edit] : valueEdits) {
        EXPECT_TRUE(refused(edit, "a\0b"s)) << label;
        EXPECT_FALSE(refused(edit, "<&>\"' \xe4\xb8\xad")) << label;
    }
    for (const auto& [label, edit] : nameEdits) {
        for (const std::string& name : {""s, "a\0b"s, "a b"s, " a"s, "a>"s, "a/b"s, "?x"s, "!x"s,
                                        "\"q"s, "a=b"s, "a\\b"s, "<a"s, "a\r\n"s})
            EXPECT_TRUE(refused(edit, name)) << label << " " << name;
        for (const std::string& name : {"a"s, "a:b-c.d_e"s, "\xe4\xb8\xad"s, "item'"s})
            EXPECT_FALSE(refused(edit, name)) << label << " " << name;
    }
}

// A document whose only element was removed takes a new one at its start.
TEST(XmlDocument, AddingAfterTheOnlyElementWasRemoved) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Load("<a/>"));
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.RemoveElement());
    ASSERT_TRUE(doc.AddElement("b", "x"));
    EXPECT_EQ(doc.TagName(doc.Current()), "b");
    EXPECT_EQ(doc.GetElementText(doc.Current()), "x");
    doc.ResetCursor();
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_TRUE(doc.SetAttribute("k", "v"));
    EXPECT_EQ(doc.GetText(), "<b k=\"v\">x</b>\r\n");
}

// The name is a copy: it stays right after the edit that moves the text.
TEST(XmlDocument, TagNameOutlivesEdits) {
    XmlDocument doc = ThreeItems();
    ASSERT_TRUE(doc.RestoreMark("3"));
    const auto name = doc.TagName(doc.Current());
    ASSERT_TRUE(doc.FindChildElement());
    ASSERT_TRUE(doc.SetChildText("a much longer name than before"));
    EXPECT_EQ(name, "item");
}

TEST(XmlDocument, MarksSurviveEditsBeforeThem) {
    XmlDocument doc;
    for (int i = 1; i <= 3; ++i) {
        doc.ResetCursor();
        doc.AddElement("item");
        doc.AddChildElement("name", "n" + std::to_string(i));
        doc.ClearChildCursor();
        ASSERT_TRUE(doc.SaveMark(std::to_string(i).c_str()));
    }
    doc.ResetCursor();
    doc.AddElement("item", "new");      // before every marked item
    ASSERT_TRUE(doc.RestoreMark("3"));  // the newest of the three is first, after "new"
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.RemoveElement());  // item 2, after the marked one
    ASSERT_TRUE(doc.RestoreMark("1"));
    ASSERT_TRUE(doc.FindChildElement());
    EXPECT_EQ(doc.GetChildText(), "n1");
    EXPECT_EQ(doc.Depth(), 0);
    EXPECT_FALSE(doc.RestoreMark("9"));
    EXPECT_FALSE(doc.RestoreMark(nullptr));
    doc.ResetCursor();
    EXPECT_FALSE(doc.SaveMark("x"));  // no current element
}

TEST(XmlDocument, CursorSteps) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Load("<r><a><x/></a><b/></r>"));
    EXPECT_FALSE(doc.LeaveToParent());
    ASSERT_TRUE(doc.EnterChild());  // finds the root, then its first child
    EXPECT_EQ(doc.TagName(doc.Current()), "a");
    EXPECT_EQ(doc.Depth(), 1);
    ASSERT_TRUE(doc.LeaveToParent());
    EXPECT_EQ(doc.TagName(doc.Child()), "a");
    ASSERT_TRUE(doc.FindChildElement());  // continues after the element just left
    EXPECT_EQ(doc.TagName(doc.Child()), "b");
    EXPECT_FALSE(doc.FindChildElement());
    EXPECT_EQ(doc.TagName(doc.Child()), "b");  // unchanged on failure
}

TEST(XmlDocument, TableGrowsByHalf) {
    XmlDocument doc;
    EXPECT_EQ(doc.TableSize(), 50u);
    for (int i = 0; i < 49; ++i)
        doc.AddElement("e");
    EXPECT_EQ(doc.TableSize(), 50u);
    doc.AddElement("e");
    EXPECT_EQ(doc.TableSize(), 75u);
    EXPECT_EQ(doc.NextFree(), 51);
}

// Random edits inside a root element; after each one the offsets must be what
// a fresh parse of the text finds.
TEST(XmlDocument, EditsKeepTheIndexTrue) {
    std::mt19937 random(5);
    const char* names[] = {"a", "bb", "c"};
    const char* texts[] = {"", "x", "1<2&3>", "\xe4\xb8\xad"};
    for (int round = 0; round < 40; ++round) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Load("<?pi?>\r\n<r>\r\n<k z=\"1\"/>\r\n</r>\r\n"));
        ASSERT_TRUE(doc.FindElement());
        const int root = doc.Current();
        for (int step = 0; step < 60; ++step) {
            const char* name = names[random() % 3];
            const char* text = texts[random() % 4];
            switch (random() % 9) {
                case 0:
                    doc.FindChildElement();
                    break;
                case 1:
                    doc.EnterChild();
                    break;
                case 2:
                    doc.LeaveToParent();
                    break;
                case 3:
                    if (doc.Current() != root && doc.Current() != 0) doc.AddElement(name, text);
                    break;
                case 4:
                    doc.AddChildElement(name, text);
                    break;
                case 5:
                    doc.SetChildText(text);
                    break;
                case 6:
                    doc.SetAttribute(name, text);
                    break;
                case 7:
                    if (doc.Current() != root && doc.Current() != 0) doc.RemoveElement();
                    break;
                case 8:
                    doc.FindElement();
                    break;
            }
            if (doc.Current() == 0) {
                doc.ResetCursor();
                doc.FindElement();
            }
            XmlDocument fresh;
            ASSERT_TRUE(fresh.Load(doc.GetText().c_str())) << doc.GetText();
            ASSERT_EQ(Walk(doc), Walk(fresh)) << doc.GetText();
        }
    }
}

}  // namespace
}  // namespace pagelark
