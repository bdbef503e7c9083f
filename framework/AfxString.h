#pragma once
// CString: the framework's 8-bit string. Lengths are in bytes, so a GBK
// double-byte character counts two. A null pointer reads as the empty text.
#include <cstring>
#include <string>

class CString {
 public:
  CString() = default;
  CString(const char* text) : m_text(text ? text : "") {}  // NOLINT: converts like the framework's
  CString(const char* text, int length) {
    if (text && length > 0) m_text.assign(text, static_cast<std::size_t>(length));
  }

  CString& operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
  }

  operator const char*() const { return m_text.c_str(); }  // NOLINT: the framework's conversion
  const char* GetString() const { return m_text.c_str(); }

  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }

  // Byte-wise comparison, as strcmp.
  int Compare(const char* text) const { return std::strcmp(m_text.c_str(), text ? text : ""); }

  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
  friend bool operator!=(const char* a, const CString& b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

 private:
  std::string m_text;
};
