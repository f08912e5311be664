// Fuzz target for XmlDocument: the input is both a document text (UTF-8 -> wide,
// through SetDocument) and a file's bytes (through Load's byte step on memory);
// each parse is then navigated, read, edited, saved and parsed again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "xml/xml_document.h"

namespace {

// Walks every element depth-first, reading attributes, with bounded work.
void Walk(XmlDocument& doc, int budget) {
  int depth = 0;
  while (budget-- > 0) {
    if (doc.FindElement()) {
      doc.GetAttribute(L"a");
      doc.GetAttribute(L"name");
      doc.GetTagName();
      doc.GetData();
      if (doc.IntoElement()) ++depth;
      continue;
    }
    if (depth == 0 || !doc.OutOfElement()) break;
    --depth;
  }
  while (depth-- > 0) doc.OutOfElement();
}

void Edit(XmlDocument& doc, const std::wstring& value) {
  if (doc.FindElement()) {
    doc.SetAttribute(L"a", value);
    doc.SetAttribute(L"new_attr", value);
    if (doc.GetAttribute(L"new_attr") != value) __builtin_trap();
    doc.IntoElement();
    doc.AddElement(L"child");
    doc.SetAttribute(L"v", value);
    doc.AddElement(L"data", value);
    doc.IntoElement();
    doc.AddElement(L"grandchild");
    doc.OutOfElement();
    doc.OutOfElement();
  } else {
    doc.AddElement(L"root", value);
  }
  // The edited text must parse without new structural surprises at the edit.
  std::wstring text = doc.GetDocument();
  XmlDocument again;
  again.SetDocument(text.c_str());
  Walk(again, 2000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);

  // 1. As a text: UTF-8 -> wide, embedded zeros cut the C string.
  std::wstring text;
  {
    XmlDocument probe;
    probe.LoadFromMemory(data, size);  // also exercises every detection path
    Walk(probe, 5000);
    std::string out;
    probe.SaveToBytes(out);
    XmlDocument back;
    back.LoadFromMemory(out.data(), out.size());
    text = probe.GetDocument();
  }
  XmlDocument doc;
  doc.SetDocument(text.c_str());
  Walk(doc, 5000);
  std::wstring value = text.substr(0, 40);
  Edit(doc, value);

  // 2. Unescape / escape round trip.
  std::wstring escaped = XmlDocument::Escape(value, true);
  if (XmlDocument::Unescape(escaped) != value) __builtin_trap();
  XmlDocument::MakeCData(value);
  return 0;
}
