// Load and Save: byte-order marks, UTF-16/32, declared 8-bit encodings, UTF-8
// detection, the encoding-name table and the file-level failures.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "xml_test_util.h"

using xmltest::Logged;

namespace {

const wchar_t kText[] = L"<r a=\"\x00E9\x0416\x4E2D\"><k n=\"1\"/></r>";

std::string Utf16(const std::wstring& s, bool be, bool bom) {
  std::string out;
  auto put = [&](unsigned u) {
    char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    if (be) out += hi, out += lo;
    else out += lo, out += hi;
  };
  if (bom) put(0xFEFF);
  for (wchar_t w : s) {
    unsigned c = static_cast<unsigned>(w);
    if (c >= 0x10000) {
      c -= 0x10000;
      put(0xD800 + (c >> 10));
      put(0xDC00 + (c & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

std::string Utf32(const std::wstring& s, bool be, bool bom) {
  std::string out;
  auto put = [&](unsigned u) {
    char b[4] = {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
    if (be) out += b[3], out += b[2], out += b[1], out += b[0];
    else out.append(b, 4);
  };
  if (bom) put(0xFEFF);
  for (wchar_t w : s) put(static_cast<unsigned>(w));
  return out;
}

const std::string kUtf8 = "<r a=\"\xC3\xA9\xD0\x96\xE4\xB8\xAD\"><k n=\"1\"/></r>";

std::wstring LoadText(const xmltest::TempDir& dir, const std::string& name, const std::string& bytes,
                      XmlDocument& doc) {
  xmltest::WriteBytes(dir.File(name), bytes);
  EXPECT_TRUE(doc.Load(dir.WFile(name))) << name;
  return doc.GetDocument();
}

}  // namespace

TEST(XmlEncoding, BomFormsAndUtf16BeLoadToTheSameText) {
  xmltest::TempDir dir;
  XmlDocument a, b, c, d, e, f;
  EXPECT_EQ(LoadText(dir, "plain.xml", kUtf8, a), kText);
  EXPECT_FALSE(Logged(a, L"bom"));
  EXPECT_EQ(LoadText(dir, "bom.xml", "\xEF\xBB\xBF" + kUtf8, b), kText);
  EXPECT_TRUE(Logged(b, L"bom"));
  EXPECT_EQ(LoadText(dir, "le.xml", Utf16(kText, false, true), c), kText);
  EXPECT_EQ(LoadText(dir, "be.xml", Utf16(kText, true, true), d), kText);
  EXPECT_TRUE(Logged(d, L"endian_swap"));
  EXPECT_EQ(LoadText(dir, "le_nobom.xml", Utf16(kText, false, false), e), kText);
  EXPECT_EQ(LoadText(dir, "be_nobom.xml", Utf16(kText, true, false), f), kText);
  for (XmlDocument* doc : {&a, &b, &c, &d, &e, &f}) {
    EXPECT_TRUE(doc->IsWellFormed());
    ASSERT_TRUE(doc->FindElement(L"r"));
    EXPECT_EQ(doc->GetAttribute(L"a"), L"\x00E9\x0416\x4E2D");
  }
}

TEST(XmlEncoding, Utf16SurrogatePairsCombineAndSplit) {
  xmltest::TempDir dir;
  std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r a=\"x";
  text += static_cast<wchar_t>(0x1F600);
  text += L"\"/>";
  XmlDocument doc;
  EXPECT_EQ(LoadText(dir, "sp.xml", Utf16(text, false, true), doc), text);
  ASSERT_TRUE(doc.FindElement(L"r"));
  EXPECT_EQ(doc.GetAttribute(L"a").size(), 2u);
  ASSERT_TRUE(doc.Save(dir.WFile("sp_out.xml")));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("sp_out.xml")), Utf16(text, false, true));
  // Big-endian in, big-endian out, mark kept.
  XmlDocument be;
  EXPECT_EQ(LoadText(dir, "spbe.xml", Utf16(text, true, true), be), text);
  ASSERT_TRUE(be.Save(dir.WFile("spbe_out.xml")));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("spbe_out.xml")), Utf16(text, true, true));
}

TEST(XmlEncoding, Utf32) {
  xmltest::TempDir dir;
  std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-32\"?><r a=\"\x0416";
  text += static_cast<wchar_t>(0x1F600);
  text += L"\"/>";
  XmlDocument bom, plain, be;
  EXPECT_EQ(LoadText(dir, "32bom.xml", Utf32(text, false, true), bom), text);
  EXPECT_EQ(LoadText(dir, "32.xml", Utf32(text, false, false), plain), text);
  EXPECT_EQ(LoadText(dir, "32be.xml", Utf32(text, true, true), be), text);
  ASSERT_TRUE(plain.FindElement(L"r"));
  std::wstring a = plain.GetAttribute(L"a");
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(static_cast<unsigned>(a[1]), 0x1F600u);
  ASSERT_TRUE(plain.Save(dir.WFile("32_out.xml")));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("32_out.xml")), Utf32(text, false, false));
  ASSERT_TRUE(be.Save(dir.WFile("32be_out.xml")));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("32be_out.xml")), Utf32(text, true, true));
}

TEST(XmlEncoding, DeclaredLatin1AndWindows1251) {
  xmltest::TempDir dir;
  XmlDocument latin;
  std::string l1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<r a=\"caf\xE9 \xA9\"/>";
  LoadText(dir, "l1.xml", l1, latin);
  EXPECT_TRUE(latin.IsWellFormed());
  ASSERT_TRUE(latin.FindElement(L"r"));
  EXPECT_EQ(latin.GetAttribute(L"a"), L"caf\x00E9 \x00A9");
  EXPECT_TRUE(Logged(latin, L"converted_to"));
  // Saved back in the declared encoding.
  ASSERT_TRUE(latin.SetAttribute(L"b", L"\x00FC\x4E2D"));  // the CJK character has no Latin-1 form
  ASSERT_TRUE(latin.Save(dir.WFile("l1_out.xml")));
  EXPECT_TRUE(Logged(latin, L"conversion_loss"));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("l1_out.xml")),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<r a=\"caf\xE9 \xA9\" b=\"\xFC?\"/>");

  XmlDocument cyr;
  std::string w1251 =
      "<?xml version='1.0' encoding='windows-1251'?><profile name=\"\xCF\xF0\xEE\xF4\xE8\xEB\xFC\"/>";
  LoadText(dir, "cyr.xml", w1251, cyr);
  ASSERT_TRUE(cyr.FindElement(L"profile"));
  EXPECT_EQ(cyr.GetAttribute(L"name"), L"\x041F\x0440\x043E\x0444\x0438\x043B\x044C");
  ASSERT_TRUE(cyr.Save(dir.WFile("cyr_out.xml")));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("cyr_out.xml")), w1251);
}

TEST(XmlEncoding, HtmlMetaCharset) {
  xmltest::TempDir dir;
  XmlDocument doc;
  std::string html =
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
      "</head><body a=\"\xC6\"></body></html>";
  LoadText(dir, "h.html", html, doc);
  ASSERT_TRUE(doc.FindElement(L"html"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement(L"body"));
  EXPECT_EQ(doc.GetAttribute(L"a"), L"\x0416");
}

TEST(XmlEncoding, Utf8DetectionWithoutDeclaration) {
  xmltest::TempDir dir;
  XmlDocument utf8, ansi;
  // Not starting with "<": the bytes decide.
  LoadText(dir, "u.xml", "  \n<r a=\"\xC3\xA9\"/>", utf8);
  EXPECT_TRUE(Logged(utf8, L"utf8_detection"));
  ASSERT_TRUE(utf8.FindElement(L"r"));
  EXPECT_EQ(utf8.GetAttribute(L"a"), L"\x00E9");
  LoadText(dir, "a.xml", "  \n<r a=\"\xE9\x80\"/>", ansi);
  EXPECT_TRUE(Logged(ansi, L"utf8_detection"));
  ASSERT_TRUE(ansi.FindElement(L"r"));
  EXPECT_EQ(ansi.GetAttribute(L"a"), L"\x00E9\x20AC");  // windows-1252
}

TEST(XmlEncoding, NullBytesRemoved) {
  xmltest::TempDir dir;
  XmlDocument doc;
  std::string bytes = "<r a=\"1\"/>";
  bytes.insert(3, 2, '\0');
  LoadText(dir, "n.xml", bytes, doc);
  EXPECT_TRUE(Logged(doc, L"nulls_removed"));
  EXPECT_EQ(doc.GetDocument(), L"<r a=\"1\"/>");
}

TEST(XmlEncoding, SaveWritesMarkOnlyWhenLoadedFileHadOne) {
  xmltest::TempDir dir;
  XmlDocument doc;
  LoadText(dir, "bom.xml", "\xEF\xBB\xBF" + kUtf8, doc);
  ASSERT_TRUE(doc.Save(dir.WFile("bom_out.xml")));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("bom_out.xml")), "\xEF\xBB\xBF" + kUtf8);
  XmlDocument fresh;
  fresh.SetDocument(kText);
  ASSERT_TRUE(fresh.Save(dir.WFile("fresh.xml")));
  EXPECT_EQ(xmltest::ReadBytes(dir.File("fresh.xml")), kUtf8);
}

TEST(XmlEncoding, NameTable) {
  XmlDocument doc;  // the table is reached through declarations
  xmltest::TempDir dir;
  struct Case {
    const char* name;
    const wchar_t* expect;
  } cases[] = {{"Shift_JIS", L"\x3042"}, {"gb2312", L"\x4E2D"}, {"big5", L"\x4E2D"}};
  const char* bytes[] = {"\x82\xA0", "\xD6\xD0", "\xA4\xA4"};
  for (int i = 0; i < 3; ++i) {
    std::string file = std::string("<?xml version=\"1.0\" encoding=\"") + cases[i].name + "\"?><r a=\"" +
                       bytes[i] + "\"/>";
    XmlDocument d;
    LoadText(dir, "n.xml", file, d);
    ASSERT_TRUE(d.FindElement(L"r")) << cases[i].name;
    EXPECT_EQ(d.GetAttribute(L"a"), cases[i].expect) << cases[i].name;
  }
}

TEST(XmlEncoding, MissingFileFails) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r/>"));
  EXPECT_FALSE(doc.Load(L"/nonexistent/dir/file.xml"));
  EXPECT_TRUE(Logged(doc, L"file_error"));
  EXPECT_EQ(doc.GetDocument(), L"");
  EXPECT_FALSE(doc.FindElement());
  EXPECT_FALSE(doc.Save(L"/nonexistent/dir/out.xml"));
  EXPECT_TRUE(Logged(doc, L"file_error"));
  EXPECT_FALSE(doc.Load(L"/tmp"));  // a folder is no file
  EXPECT_TRUE(Logged(doc, L"file_error"));
}

// A save that fails half-way (here: the file-size limit, as a full disk would) reports
// failure and leaves the file that was there whole.
TEST(XmlEncoding, FailedSaveKeepsTheOldFile) {
  xmltest::TempDir dir;
  const std::string old = "<?xml version=\"1.0\"?>\r\n<r kept=\"1\"/>\r\n";
  xmltest::WriteBytes(dir.File("out.xml"), old);
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument((L"<r a=\"" + std::wstring(20000, L'x') + L"\"/>").c_str()));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved_ok = doc.Save(dir.WFile("out.xml"));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved_ok);
  EXPECT_TRUE(Logged(doc, L"file_error"));
  EXPECT_TRUE(xmltest::ReadBytes(dir.File("out.xml")) == old) << "the old file was cut short";
  EXPECT_EQ(std::system(("test $(ls -A '" + dir.File("") + "' | wc -l) -eq 1").c_str()), 0)
      << "a temporary file was left behind";
}

// A device is written through, never replaced by a plain file.
TEST(XmlEncoding, SaveToADeviceWritesThroughIt) {
  xmltest::TempDir dir;
  const std::string null_device = dir.File("null");
  if (mknod(null_device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "making a device node needs root";
  }
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(L"<r/>"));
  EXPECT_TRUE(doc.Save(dir.WFile("null")));
  struct stat st {};
  ASSERT_EQ(stat(null_device.c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// Something that is not a plain file (a named pipe nobody writes to) fails at once
// instead of blocking the caller.
TEST(XmlEncoding, NamedPipeIsRefusedWithoutWaiting) {
  xmltest::TempDir dir;
  ASSERT_EQ(mkfifo(dir.File("pipe.xml").c_str(), 0600), 0);
  XmlDocument doc;
  EXPECT_FALSE(doc.Load(dir.WFile("pipe.xml")));
  EXPECT_TRUE(Logged(doc, L"file_error"));
}

TEST(XmlEncoding, DeclaredUtf16InEightBitBytesIsIgnored) {
  xmltest::TempDir dir;
  XmlDocument doc;
  LoadText(dir, "w.xml", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r a=\"\xC3\xA9\"/>", doc);
  ASSERT_TRUE(doc.FindElement(L"r"));
  EXPECT_EQ(doc.GetAttribute(L"a"), L"\x00E9");
}

TEST(XmlEncoding, DeclaredUtf16DocumentSavesAndReloads) {
  xmltest::TempDir dir;
  XmlDocument doc;
  doc.SetDocument(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n");
  ASSERT_TRUE(doc.AddElement(L"r"));
  ASSERT_TRUE(doc.SetAttribute(L"a", L"\x4E2D\x0416"));
  ASSERT_TRUE(doc.Save(dir.WFile("u16.xml")));
  std::string bytes = xmltest::ReadBytes(dir.File("u16.xml"));
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("<\0", 2));  // no mark for a document made here
  XmlDocument back;
  ASSERT_TRUE(back.Load(dir.WFile("u16.xml")));
  EXPECT_EQ(back.GetDocument(), doc.GetDocument());
  ASSERT_TRUE(back.FindElement(L"r"));
  EXPECT_EQ(back.GetAttribute(L"a"), L"\x4E2D\x0416");
}

TEST(XmlEncoding, TruncatedAndBinaryFilesLoadOrFailCleanly) {
  xmltest::TempDir dir;
  std::string full = "\xEF\xBB\xBF<?xml version=\"1.0\"?><r><k a=\"\xE4\xB8\xAD\"/><k b='2'/></r>";
  for (size_t n = 0; n <= full.size(); ++n) {
    XmlDocument doc;
    xmltest::WriteBytes(dir.File("t.xml"), full.substr(0, n));
    EXPECT_TRUE(doc.Load(dir.WFile("t.xml")));
    while (doc.FindElement()) {
      doc.GetAttribute(L"a");
      if (!doc.IntoElement()) break;
    }
  }
  std::string binary;
  uint32_t seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245u + 12345u;
    binary += static_cast<char>(seed >> 24);
  }
  for (const char* prefix : {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "<", "<?xml encoding='utf-32'?>"}) {
    XmlDocument doc;
    xmltest::WriteBytes(dir.File("bin.xml"), prefix + binary);
    EXPECT_TRUE(doc.Load(dir.WFile("bin.xml")));
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_LE(doc.GetResult().size(), 1200u);
    std::string out;
    EXPECT_TRUE(doc.SaveToBytes(out));
  }
}

TEST(XmlEncoding, LargeGeneratedFile) {
  xmltest::TempDir dir;
  std::string path = dir.File("big.xml");
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Keyboard>\r\n", f);
    size_t written = 0;
    char line[256];
    for (int i = 0; written < 50u * 1024 * 1024; ++i) {
      int n = std::snprintf(line, sizeof line,
                            "  <key code=\"%d\" x=\"%d\" y=\"%d\" w=\"60\" h=\"60\" light=\"%d\" "
                            "name=\"K\xD0\x96%d\" page=\"1\"/>\r\n",
                            i, i % 1280, i % 720, i % 128, i);
      std::fwrite(line, 1, static_cast<size_t>(n), f);
      written += static_cast<size_t>(n);
    }
    std::fputs("</Keyboard>\r\n", f);
    std::fclose(f);
  }
  XmlDocument doc;
  ASSERT_TRUE(doc.Load(std::wstring(path.begin(), path.end())));
  EXPECT_TRUE(doc.IsWellFormed());
  ASSERT_TRUE(doc.FindElement(L"Keyboard"));
  ASSERT_TRUE(doc.IntoElement());
  long count = 0;
  while (doc.FindElement(L"key")) {
    if (count % 50000 == 0) {
      EXPECT_EQ(doc.GetAttribute(L"code"), std::to_wstring(count));
      EXPECT_EQ(doc.GetAttribute(L"name"), L"K\x0416" + std::to_wstring(count));
    }
    ++count;
  }
  EXPECT_GT(count, 400000);
}
