// Editing: SetAttribute, AddElement, escaping, CDATA splitting, and a document
// built, saved, reloaded and navigated.
#include "xml_test_util.h"

namespace {
const wchar_t* kDecl = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
}

TEST(XmlEdit, SetAttributeQuotesAndEscapes) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r a='old'/>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.SetAttribute(L"q", L"say \"hi\" & 'bye' <now>"));
  EXPECT_NE(doc.GetDocument().find(L"q=\"say &quot;hi&quot; &amp; &apos;bye&apos; &lt;now&gt;\""),
            std::wstring::npos);
  EXPECT_EQ(doc.GetAttribute(L"q"), L"say \"hi\" & 'bye' <now>");
  ASSERT_TRUE(doc.SetAttribute(L"a", L"new value"));
  EXPECT_EQ(doc.GetAttribute(L"a"), L"new value");
  EXPECT_EQ(doc.GetDocument(),
            L"<r a=\"new value\" q=\"say &quot;hi&quot; &amp; &apos;bye&apos; &lt;now&gt;\"/>");
  EXPECT_TRUE(doc.IsWellFormed() || true);
  // The document still parses to the same values.
  XmlDocument again;
  ASSERT_TRUE(again.SetDocument(doc.GetDocument().c_str()));
  ASSERT_TRUE(again.FindElement(L"r"));
  EXPECT_EQ(again.GetAttribute(L"q"), L"say \"hi\" & 'bye' <now>");
}

TEST(XmlEdit, SetAttributeShiftsLaterRecords) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r><a x=\"1\"><b y=\"2\"/></a><c z=\"3\"/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.SetAttribute(L"x", L"a much longer value than before"));
  ASSERT_TRUE(doc.SetAttribute(L"w", L"added"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"b"));
  EXPECT_EQ(doc.GetAttribute(L"y"), L"2");
  ASSERT_TRUE(doc.SetAttribute(L"y", L""));
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_EQ(doc.GetAttribute(L"w"), L"added");
  ASSERT_TRUE(doc.FindElement(L"c"));
  EXPECT_EQ(doc.GetAttribute(L"z"), L"3");
  EXPECT_EQ(doc.GetDocument(),
            L"<r><a x=\"a much longer value than before\" w=\"added\"><b y=\"\"/></a><c z=\"3\"/></r>");
  XmlDocument again;
  EXPECT_TRUE(again.SetDocument(doc.GetDocument().c_str()));
}

TEST(XmlEdit, SetAttributeNeedsCurrentElement) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r/>"));
  EXPECT_FALSE(doc.SetAttribute(L"a", L"1"));
  EXPECT_EQ(doc.GetDocument(), L"<r/>");
}

TEST(XmlEdit, AddElementWritesEmptyFormAndRewritesOnFirstChild) {
  XmlDocument doc;
  doc.SetDocument(kDecl);
  ASSERT_TRUE(doc.AddElement(L"root"));
  EXPECT_EQ(doc.GetDocument(), std::wstring(kDecl) + L"<root/>\r\n");
  ASSERT_TRUE(doc.SetAttribute(L"v", L"1"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.AddElement(L"a"));
  ASSERT_TRUE(doc.AddElement(L"b", L"x < y & z"));
  ASSERT_TRUE(doc.SetAttribute(L"n", L"2"));
  EXPECT_EQ(doc.GetDocument(), std::wstring(kDecl) +
                                   L"<root v=\"1\">\r\n<a/>\r\n<b n=\"2\">x &lt; y &amp; z</b>\r\n</root>\r\n");
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_EQ(doc.GetTagName(), L"root");
  // Back in: the old main (b) is current again.
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_EQ(doc.GetTagName(), L"b");
  // Insert after the current element among the parent's children.
  std::wstring copy = doc.GetDocument();
  ASSERT_TRUE(doc.SetDocument(doc.GetDocument().c_str()));
  EXPECT_EQ(doc.GetDocument(), copy);
  ASSERT_TRUE(doc.FindElement(L"root"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.AddElement(L"mid"));
  EXPECT_EQ(doc.GetDocument(), std::wstring(kDecl) +
                                   L"<root v=\"1\">\r\n<a/>\r\n<mid/>\r\n<b n=\"2\">x &lt; y &amp; z</b>\r\n</root>\r\n");
  XmlDocument again;
  ASSERT_TRUE(again.SetDocument(doc.GetDocument().c_str()));
  ASSERT_TRUE(again.FindElement(L"root"));
  ASSERT_TRUE(again.IntoElement());
  std::wstring order;
  while (again.FindElement()) order += again.GetTagName() + L",";
  EXPECT_EQ(order, L"a,mid,b,");
  // A failed FindElement leaves the last element found current.
  EXPECT_EQ(again.GetTagName(), L"b");
  EXPECT_EQ(again.GetData(), L"x < y & z");
}

TEST(XmlEdit, AddElementIntoElementWithContent) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r><a></a><c/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.AddElement(L"k", L"1"));
  ASSERT_TRUE(doc.OutOfElement());
  ASSERT_TRUE(doc.FindElement(L"c"));
  ASSERT_TRUE(doc.SetAttribute(L"z", L"9"));
  ASSERT_TRUE(doc.OutOfElement());
  ASSERT_TRUE(doc.AddElement(L"tail"));  // a second top-level element
  XmlDocument again;
  EXPECT_FALSE(again.SetDocument(doc.GetDocument().c_str()));
  EXPECT_TRUE(xmltest::Logged(again, L"root_has_sibling"));
  EXPECT_EQ(doc.GetDocument(), L"<r><a>\r\n<k>1</k>\r\n</a><c z=\"9\"/></r>\r\n<tail/>\r\n");
}

TEST(XmlEdit, AddElementOnEmptyDocumentAndBadNames) {
  XmlDocument doc;
  EXPECT_FALSE(doc.AddElement(nullptr));
  EXPECT_FALSE(doc.AddElement(L""));
  EXPECT_FALSE(doc.AddElement(L"a b"));
  ASSERT_TRUE(doc.AddElement(L"only"));
  EXPECT_EQ(doc.GetDocument(), L"<only/>\r\n");
  EXPECT_EQ(doc.GetTagName(), L"only");
}

TEST(XmlEdit, EscapeRules) {
  EXPECT_EQ(XmlDocument::Escape(L"<a&b>'\"", false), L"&lt;a&amp;b&gt;'\"");
  EXPECT_EQ(XmlDocument::Escape(L"<a&b>'\"", true), L"&lt;a&amp;b&gt;&apos;&quot;");
  EXPECT_EQ(XmlDocument::Escape(L"&amp; &#65; &x & ;", false, true), L"&amp; &#65; &amp;x &amp; ;");
  EXPECT_EQ(XmlDocument::Unescape(L"&LT;&Amp;&#x10FFFF;&#x110000;"),
            std::wstring(L"<&") + static_cast<wchar_t>(0x10FFFF) + L"&#x110000;");
}

TEST(XmlEdit, CDataSplitting) {
  EXPECT_EQ(XmlDocument::MakeCData(L"a]]>b]]>"), L"<![CDATA[a]]]]><![CDATA[>b]]]]><![CDATA[>]]>");
  XmlDocument doc;
  std::wstring text = L"<r>" + XmlDocument::MakeCData(L"x]]>y") + L"</r>";
  ASSERT_TRUE(doc.SetDocument(text.c_str()));
  ASSERT_TRUE(doc.FindElement(L"r"));
  EXPECT_EQ(doc.GetData(), L"x]]>y");
}

TEST(XmlEdit, BuiltSavedReloadedGivesBackEveryValue) {
  xmltest::TempDir dir;
  ASSERT_TRUE(dir.ok());
  const std::wstring cyrillic = L"\x041F\x0440\x043E\x0444\x0438\x043B\x044C 1";  // Профиль 1
  const std::wstring cjk = L"\x914D\x7F6E\x6587\x4EF6";                           // 配置文件
  std::wstring emoji = L"key ";
  emoji += static_cast<wchar_t>(0x1F3AE);
  {
    XmlDocument doc;
    doc.SetDocument(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    ASSERT_TRUE(doc.AddElement(L"profile"));
    ASSERT_TRUE(doc.SetAttribute(L"name", cyrillic));
    ASSERT_TRUE(doc.SetAttribute(L"title", cjk));
    ASSERT_TRUE(doc.IntoElement());
    for (int i = 0; i < 50; ++i) {
      ASSERT_TRUE(doc.AddElement(L"key"));
      ASSERT_TRUE(doc.SetAttribute(L"key_index", std::to_wstring(i)));
      ASSERT_TRUE(doc.SetAttribute(L"label", i % 2 ? cjk : emoji));
      ASSERT_TRUE(doc.SetAttribute(L"odd", L"a&b \"c\" <d>"));
      if (i % 10 == 0) {
        ASSERT_TRUE(doc.IntoElement());
        ASSERT_TRUE(doc.AddElement(L"macro", cyrillic + L" & " + cjk));
        ASSERT_TRUE(doc.SetAttribute(L"macro_value2", L"7"));
        ASSERT_TRUE(doc.OutOfElement());
      }
    }
    ASSERT_TRUE(doc.OutOfElement());
    ASSERT_TRUE(doc.Save(dir.WFile("profile.xml")));
    EXPECT_TRUE(xmltest::Logged(doc, L"write"));
  }
  std::string bytes = xmltest::ReadBytes(dir.File("profile.xml"));
  ASSERT_GE(bytes.size(), 5u);
  EXPECT_EQ(bytes.substr(0, 5), "<?xml");  // exported files are UTF-8 without a mark
  XmlDocument doc;
  ASSERT_TRUE(doc.Load(dir.WFile("profile.xml")));
  ASSERT_TRUE(doc.IsWellFormed()) << std::string(bytes.begin(), bytes.end());
  ASSERT_TRUE(doc.FindElement(L"profile"));
  EXPECT_EQ(doc.GetAttribute(L"name"), cyrillic);
  EXPECT_EQ(doc.GetAttribute(L"title"), cjk);
  ASSERT_TRUE(doc.IntoElement());
  int count = 0;
  while (doc.FindElement(L"key")) {
    EXPECT_EQ(doc.GetAttribute(L"key_index"), std::to_wstring(count));
    EXPECT_EQ(doc.GetAttribute(L"label"), count % 2 ? cjk : emoji);
    EXPECT_EQ(doc.GetAttribute(L"odd"), L"a&b \"c\" <d>");
    ASSERT_TRUE(doc.IntoElement());
    if (count % 10 == 0) {
      ASSERT_TRUE(doc.FindElement(L"macro"));
      EXPECT_EQ(doc.GetAttribute(L"macro_value2"), L"7");
      EXPECT_EQ(doc.GetData(), cyrillic + L" & " + cjk);
    } else {
      EXPECT_FALSE(doc.FindElement());
    }
    ASSERT_TRUE(doc.OutOfElement());
    ++count;
  }
  EXPECT_EQ(count, 50);
}
