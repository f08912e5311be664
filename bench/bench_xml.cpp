// XmlDocument against pugixml and expat on a 10 MB keyboard-layout-like document:
// a Keyboard root with many key elements of eight attributes each. Every case
// starts from the same UTF-8 bytes and reads every attribute of every key.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <pugixml.hpp>

#include "xml/xml_document.h"

namespace {

const char* const kAttrNames[] = {"code", "x", "y", "w", "h", "light", "name", "page"};
const wchar_t* const kWideNames[] = {L"code", L"x", L"y", L"w", L"h", L"light", L"name", L"page"};

const std::string& Document() {
  static const std::string doc = [] {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Keyboard name=\"K87\" device_type=\"301\">\r\n";
    char line[320];
    for (int i = 0; s.size() < 10u * 1024 * 1024; ++i) {
      int n = std::snprintf(line, sizeof line,
                            "  <key code=\"%d\" x=\"%d\" y=\"%d\" w=\"%d\" h=\"60\" light=\"%d\" "
                            "name=\"Key %d &amp; \xD0\x96\" page=\"%d\"/>\r\n",
                            i, (i * 37) % 1280, (i * 11) % 720, 60 + i % 3 * 30, i % 128, i, 1 + i % 4);
      s.append(line, static_cast<size_t>(n));
    }
    s += "</Keyboard>\r\n";
    return s;
  }();
  return doc;
}

void BM_XmlDocument_LoadAndNavigate(benchmark::State& state) {
  const std::string& bytes = Document();
  size_t total = 0;
  for (auto _ : state) {
    XmlDocument doc;
    if (!doc.LoadFromMemory(bytes.data(), bytes.size()) || !doc.IsWellFormed()) {
      state.SkipWithError("parse failed");
      return;
    }
    doc.FindElement(L"Keyboard");
    doc.IntoElement();
    while (doc.FindElement(L"key")) {
      for (const wchar_t* name : kWideNames) total += doc.GetAttribute(name).size();
    }
  }
  benchmark::DoNotOptimize(total);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

// The parse alone, from text already converted to wide characters.
void BM_XmlDocument_ParseOnly(benchmark::State& state) {
  const std::string& bytes = Document();
  XmlDocument conv;
  conv.LoadFromMemory(bytes.data(), bytes.size());
  std::wstring text = conv.GetDocument();
  for (auto _ : state) {
    XmlDocument doc;
    benchmark::DoNotOptimize(doc.SetDocument(text.c_str()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_Pugixml_ParseAndRead(benchmark::State& state) {
  const std::string& bytes = Document();
  size_t total = 0;
  for (auto _ : state) {
    pugi::xml_document doc;
    pugi::xml_parse_result r = doc.load_buffer(bytes.data(), bytes.size());
    if (!r) {
      state.SkipWithError("parse failed");
      return;
    }
    for (pugi::xml_node key = doc.child("Keyboard").child("key"); key; key = key.next_sibling("key")) {
      for (const char* name : kAttrNames) total += std::strlen(key.attribute(name).value());
    }
  }
  benchmark::DoNotOptimize(total);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

struct ExpatCount {
  size_t total = 0;
};

void XMLCALL ExpatStart(void* user, const XML_Char* name, const XML_Char** attrs) {
  auto* c = static_cast<ExpatCount*>(user);
  for (const XML_Char** a = attrs; *a; a += 2) c->total += std::strlen(a[1]);
  (void)name;
}

void XMLCALL ExpatEnd(void*, const XML_Char*) {}

void BM_Expat_ParseAndRead(benchmark::State& state) {
  const std::string& bytes = Document();
  ExpatCount count;
  for (auto _ : state) {
    XML_Parser p = XML_ParserCreate(nullptr);
    XML_SetUserData(p, &count);
    XML_SetElementHandler(p, ExpatStart, ExpatEnd);
    if (XML_Parse(p, bytes.data(), static_cast<int>(bytes.size()), 1) == XML_STATUS_ERROR) {
      XML_ParserFree(p);
      state.SkipWithError("parse failed");
      return;
    }
    XML_ParserFree(p);
  }
  benchmark::DoNotOptimize(count.total);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

}  // namespace

BENCHMARK(BM_XmlDocument_LoadAndNavigate)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_XmlDocument_ParseOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Pugixml_ParseAndRead)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Expat_ParseAndRead)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
