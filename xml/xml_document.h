#pragma once
// The program's one XML reader and writer. The whole document is kept as one wide
// string, with an index of element records that point into it: reading is
// navigation over the index, writing is text insertion that shifts the index.
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

 private:
  struct Impl;
  Impl* impl_;
};
