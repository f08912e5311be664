// Parsing, nesting recovery, the result log and navigation.
#include "xml_test_util.h"

using xmltest::Logged;

TEST(XmlParse, WellFormedDocumentNavigates) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(
      L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- c -->\r\n<config>\r\n"
      L"  <software name=\"Vantor\" version='1.2'/>\r\n  <device id=\"1\"><page n=\"a\"/></device>\r\n"
      L"</config>\r\n"));
  EXPECT_TRUE(doc.IsWellFormed());
  EXPECT_EQ(doc.GetResult(), L"");
  ASSERT_TRUE(doc.FindElement(L"config"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"software"));
  EXPECT_EQ(doc.GetAttribute(L"name"), L"Vantor");
  EXPECT_EQ(doc.GetAttribute(L"version"), L"1.2");
  EXPECT_EQ(doc.GetAttribute(L"missing"), L"");
  EXPECT_EQ(doc.GetTagName(), L"software");
  ASSERT_TRUE(doc.FindElement(L"device"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"page"));
  EXPECT_EQ(doc.GetAttribute(L"n"), L"a");
  EXPECT_FALSE(doc.FindElement(L"page"));
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_EQ(doc.GetTagName(), L"device");
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_EQ(doc.GetTagName(), L"config");
  EXPECT_FALSE(doc.OutOfElement());
}

TEST(XmlParse, FindElementMatchesWholeName) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r><modes a=\"1\"/><mode_x/><mode b=\"2\" c='3'/><mode/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"mode"));
  EXPECT_EQ(doc.GetAttribute(L"b"), L"2");
  EXPECT_EQ(doc.GetAttribute(L"c"), L"3");
  ASSERT_TRUE(doc.FindElement(L"mode"));
  EXPECT_EQ(doc.GetAttribute(L"b"), L"");
  EXPECT_FALSE(doc.FindElement(L"mode"));

  XmlDocument only;
  ASSERT_TRUE(only.SetDocument(L"<r><modes/></r>"));
  ASSERT_TRUE(only.FindElement(L"r"));
  ASSERT_TRUE(only.IntoElement());
  EXPECT_FALSE(only.FindElement(L"mode"));
  EXPECT_FALSE(only.FindElement(L"mod"));
  EXPECT_TRUE(only.FindElement(L"modes"));
}

TEST(XmlParse, FindElementAnyNameAndPathTerminators) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r><a/><b/><c/></r>"));
  ASSERT_TRUE(doc.FindElement());
  ASSERT_TRUE(doc.IntoElement());
  std::wstring names;
  while (doc.FindElement(nullptr)) names += doc.GetTagName();
  EXPECT_EQ(names, L"abc");
  // The compared part of the name ends at one of " =/[]".
  XmlDocument d2;
  ASSERT_TRUE(d2.SetDocument(L"<r><item/></r>"));
  ASSERT_TRUE(d2.FindElement(L"r"));
  ASSERT_TRUE(d2.IntoElement());
  EXPECT_TRUE(d2.FindElement(L"item[1]"));
}

TEST(XmlParse, IgnoreCaseFlag) {
  XmlDocument doc;
  doc.SetIgnoreCase(true);
  ASSERT_TRUE(doc.SetDocument(L"<Root><KEY a='1'></key></ROOT>"));
  ASSERT_TRUE(doc.FindElement(L"root"));
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_TRUE(doc.FindElement(L"Key"));
  XmlDocument exact;
  EXPECT_FALSE(exact.SetDocument(L"<Root></root>"));
}

TEST(XmlParse, AttributeDecoding) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(
      L"<a amp=\"x &amp; y\" hex=\"&#x41;&#X42;\" dec=\"&#67;&#1046;\" unk=\"&bogus; &amp\" "
      L"big=\"&#x1F600;\" zero=\"&#0;\" lt='&lt;&gt;&quot;&apos;' ent=\"&eacute;&Eacute;&copy;&EURO;\" "
      L"gt='a>b' nq=\"&#;&#x;&;\" long=\"&abcdefghij;\"/>"));
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetAttribute(L"amp"), L"x & y");
  EXPECT_EQ(doc.GetAttribute(L"hex"), L"AB");
  EXPECT_EQ(doc.GetAttribute(L"dec"), L"C\x0416");
  EXPECT_EQ(doc.GetAttribute(L"unk"), L"&bogus; &amp");
  std::wstring big = doc.GetAttribute(L"big");
  ASSERT_EQ(big.size(), 1u);  // one wide character above U+FFFF
  EXPECT_EQ(static_cast<uint32_t>(big[0]), 0x1F600u);
  EXPECT_EQ(doc.GetAttribute(L"zero"), L"&#0;");
  EXPECT_EQ(doc.GetAttribute(L"lt"), L"<>\"'");
  EXPECT_EQ(doc.GetAttribute(L"ent"), L"\x00E9\x00C9\x00A9\x20AC");
  EXPECT_EQ(doc.GetAttribute(L"gt"), L"a>b");
  EXPECT_EQ(doc.GetAttribute(L"nq"), L"&#;&#x;&;");
  EXPECT_EQ(doc.GetAttribute(L"long"), L"&abcdefghij;");
}

TEST(XmlParse, GetDataDecodesTextAndCData) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<a><b>x &lt; y<!--c--><![CDATA[<raw & ]]>z</b><c/></a>"));
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetData(), L"");  // has children
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"b"));
  EXPECT_EQ(doc.GetData(), L"x < y<raw & z");
}

TEST(XmlParse, UnendedInnerElementClosedAtOuterEndTag) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocument(L"<a><b><c/></a>"));
  EXPECT_FALSE(doc.IsWellFormed());
  EXPECT_TRUE(Logged(doc, L"unended_start_tag"));
  EXPECT_NE(doc.GetResult().find(L"tagname=\"b\""), std::wstring::npos);
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"b"));
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_TRUE(doc.FindElement(L"c"));
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_FALSE(doc.FindElement(L"b"));  // b was closed before </a>
}

TEST(XmlParse, LoneEndTag) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocument(L"<a><b/></x></a>"));
  EXPECT_TRUE(Logged(doc, L"lone_end_tag"));
  EXPECT_FALSE(Logged(doc, L"unended_start_tag"));
  ASSERT_TRUE(doc.FindElement(L"a"));
}

TEST(XmlParse, ElementOpenAtEnd) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocument(L"<a><b>text"));
  EXPECT_TRUE(Logged(doc, L"unended_start_tag"));
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_TRUE(doc.FindElement(L"b"));
}

TEST(XmlParse, RootHasSibling) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocument(L"<a/><b/>"));
  EXPECT_TRUE(Logged(doc, L"root_has_sibling"));
  EXPECT_TRUE(doc.FindElement(L"b"));
}

TEST(XmlParse, EmptyTextLogsNothingAndHasNoRoot) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocument(L""));
  EXPECT_EQ(doc.GetResult(), L"");
  EXPECT_FALSE(doc.FindElement());
  EXPECT_FALSE(doc.IntoElement());
  EXPECT_FALSE(doc.SetDocument(nullptr));
  EXPECT_EQ(doc.GetDocument(), L"");
  EXPECT_FALSE(doc.SetDocument(L"  just text "));
  EXPECT_TRUE(Logged(doc, L"no_root_element"));
}

TEST(XmlParse, NavigationIntoElementWithoutChildren) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r><leaf a=\"1\"/><other/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"leaf"));
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_FALSE(doc.FindElement(L"x"));
  EXPECT_FALSE(doc.FindElement());
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_EQ(doc.GetTagName(), L"leaf");
  EXPECT_EQ(doc.GetAttribute(L"a"), L"1");
  EXPECT_TRUE(doc.FindElement(L"other"));
}

TEST(XmlParse, IntoElementNeedsCurrentElement) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r/>"));
  EXPECT_FALSE(doc.IntoElement());
  EXPECT_FALSE(doc.OutOfElement());
}

TEST(XmlParse, TokenSyntaxErrors) {
  struct Case {
    const wchar_t* text;
    const wchar_t* event;
  } cases[] = {
      {L"<r>< x</r>", L"first_tag_syntax"},
      {L"<r><!x></r>", L"exclamation_tag_syntax"},
      {L"<r><!-x></r>", L"comment_tag_syntax"},
      {L"<r><![x[]]></r>", L"cdata_section_syntax"},
      {L"<r><a b='>", L"unterminated_tag_syntax"},
      {L"<r></r", L"unterminated_tag_syntax"},
      {L"<r><!-- x", L"unterminated_tag_syntax"},
      {L"<r><![CDATA[ x", L"unterminated_tag_syntax"},
      {L"<r><? x", L"unterminated_tag_syntax"},
      {L"<!DOCTYPE r [ <!ELEMENT r ANY>", L"unterminated_tag_syntax"},
      {L"<r><", L"unterminated_tag_syntax"},
  };
  for (const Case& c : cases) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetDocument(c.text)) << c.text;
    EXPECT_TRUE(Logged(doc, c.event)) << c.text << " -> " << doc.GetResult().size();
  }
  XmlDocument doc;
  doc.SetDocument(L"<r><![CDATA[ x");
  EXPECT_NE(doc.GetResult().find(L"type=\"cdata_section\""), std::wstring::npos);
}

TEST(XmlParse, QuotedGreaterThanDoesNotEndTag) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r a=\"1>2\" b='<x>'><c/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  EXPECT_EQ(doc.GetAttribute(L"a"), L"1>2");
  EXPECT_EQ(doc.GetAttribute(L"b"), L"<x>");
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_TRUE(doc.FindElement(L"c"));
}

TEST(XmlParse, DoctypeCommentsPisAndCDataAreSkipped) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(
      L"<?xml version=\"1.0\"?><!DOCTYPE r [ <!ELEMENT r ANY> <!ATTLIST r a CDATA \"<x>\"> "
      L"<!ENTITY e \"]>\"> <!-- ]> --> ]><r><!-- <x/> --><![CDATA[<y/>]]><?pi <z/> ?><w/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_TRUE(doc.FindElement());
  EXPECT_EQ(doc.GetTagName(), L"w");
  EXPECT_FALSE(doc.FindElement());
}

TEST(XmlParse, ResultLogStopsGrowing) {
  std::wstring text = L"<r>";
  for (int i = 0; i < 2000; ++i) text += L"</x>";
  text += L"</r>";
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocument(text.c_str()));
  EXPECT_TRUE(Logged(doc, L"lone_end_tag"));
  EXPECT_LT(doc.GetResult().size(), 1200u);
}

TEST(XmlParse, DeepNestingDoesNotRecurse) {
  std::wstring text;
  for (int i = 0; i < 200000; ++i) text += L"<a>";
  for (int i = 0; i < 200000; ++i) text += L"</a>";
  XmlDocument doc;
  EXPECT_TRUE(doc.SetDocument(text.c_str()));
}
