#pragma once
// The program's one XML reader and writer. The whole document is kept as one wide
// string, with an index of element records that point into it: reading is
// navigation over the index, writing is text insertion that shifts the index.
#include <cstddef>
#include <cstdint>
#include <string>

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Replaces the text (null clears it and the index), resets positions and parses.
  // Answers whether the text is well-formed.
  bool SetDocument(const wchar_t* text);
  // Reads a file with encoding detection, converts it and parses it. False when
  // the file cannot be opened or read; the document is then empty.
  bool Load(const std::wstring& path);
  // Writes the text in the encoding its declaration names (UTF-8 when none).
  bool Save(const std::wstring& path);

  // Navigation over the children of the current parent.
  bool FindElement(const wchar_t* name = nullptr);
  bool IntoElement();
  bool OutOfElement();

  std::wstring GetAttribute(const wchar_t* name) const;
  bool SetAttribute(const wchar_t* name, const std::wstring& value);
  bool AddElement(const wchar_t* name, const std::wstring& data = std::wstring());

  // The log fragment of the last load, save or parse.
  std::wstring GetResult() const;
  // The whole document text.
  const std::wstring& GetDocument() const;

  // ---- Helpers beyond the reading and writing calls (same rules, no other behaviour) ----
  // The parse result of the last SetDocument / Load: true when no element is
  // unended, no structural error was logged and there is exactly one root.
  bool IsWellFormed() const;
  // Load's byte step on memory: encoding detection, conversion, parse. Answers
  // true (the bytes were "read"); the parse result is IsWellFormed().
  bool LoadFromMemory(const void* data, size_t size);
  // Save's encoding step into memory (the bytes Save would write).
  bool SaveToBytes(std::string& bytes);
  // The tag name of the current element (empty when there is none).
  std::wstring GetTagName() const;
  // The text content of the current element when it has no child elements:
  // character references decoded, CDATA sections unwrapped, comments dropped.
  std::wstring GetData() const;
  // Tag-name matching ignoring ASCII case (the document's ignore-case flag).
  void SetIgnoreCase(bool ignore);
  // "<![CDATA[...]]>" for `data`, each "]]>" inside split as "]]]]><![CDATA[>".
  static std::wstring MakeCData(const std::wstring& data);
  // Escaping of Algorithms step 4: the text set (< & >), or with `attribute` also
  // ' and "; with `keepRefs` an existing character reference is copied unchanged.
  static std::wstring Escape(const std::wstring& text, bool attribute, bool keepRefs = false);
  // Unescaping of Algorithms step 5.
  static std::wstring Unescape(const std::wstring& text);

 private:
  struct Impl;
  Impl* impl_;
};
