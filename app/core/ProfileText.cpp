#include "app/core/ProfileText.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "app/core/PathText.h"

namespace profile {
namespace {

struct Key {
  std::string name;
  bool hasValue;
  std::string value;
};

struct Section {
  std::string name;
  std::vector<Key> keys;
};

bool IsBlank(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0d) || u == 0x1a || u == 0x20;
}

// [begin, end) without white space at either end. White space bytes are
// never the second byte of a GBK character.
void Trim(const char* text, std::size_t* begin, std::size_t* end) {
  while (*begin < *end && IsBlank(text[*begin])) ++*begin;
  while (*end > *begin && IsBlank(text[*end - 1])) --*end;
}

std::string Trimmed(const char* text) {
  std::size_t begin = 0, end = std::strlen(text);
  Trim(text, &begin, &end);
  return std::string(text + begin, end - begin);
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// Where the GBK characters of text start: a lead byte takes the next byte
// with it.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    starts.push_back(i);
    if (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
  return starts;
}

// A "[" line's closing "]", the last one that is a character of its own (a
// GBK second byte may be 0x5D); npos when there is none.
std::size_t ClosingBracket(const std::string& line) {
  std::size_t found = std::string::npos;
  for (std::size_t at : CharacterStarts(line)) {
    if (line[at] == ']') found = at;
  }
  return found;
}

void AddKeyLine(const std::string& line, Section* section) {
  Key key{line, false, std::string()};
  std::size_t equals = line.find('=');  // never a GBK second byte
  if (equals != std::string::npos) {
    std::size_t nameBegin = 0, nameEnd = equals;
    Trim(line.c_str(), &nameBegin, &nameEnd);
    std::size_t valueBegin = equals + 1, valueEnd = line.size();
    Trim(line.c_str(), &valueBegin, &valueEnd);
    key = Key{line.substr(0, nameEnd), true, line.substr(valueBegin, valueEnd - valueBegin)};
  }
  // Keys without a name in a row count once.
  if (key.name.empty() && !section->keys.empty() && section->keys.back().name.empty()) return;
  section->keys.push_back(key);
}

// The sections of text; an empty text has none, any other starts with the
// section without a name.
std::vector<Section> Parse(const std::string& text) {
  std::vector<Section> sections;
  if (text.empty()) return sections;
  sections.push_back(Section{});
  std::size_t next = 0;
  while (next < text.size()) {
    std::size_t begin = next;
    while (next < text.size() && text[next] != '\n' && text[next] != '\r') ++next;
    std::size_t end = next;
    while (next < text.size() && (text[next] == '\n' || text[next] == '\r')) ++next;
    Trim(text.c_str(), &begin, &end);
    if (begin >= end) continue;
    std::string line = text.substr(begin, end - begin);
    std::size_t close = line[0] == '[' ? ClosingBracket(line) : std::string::npos;
    if (close != std::string::npos) {
      std::size_t nameBegin = 1, nameEnd = close;
      Trim(line.c_str(), &nameBegin, &nameEnd);
      sections.push_back(Section{line.substr(nameBegin, nameEnd - nameBegin), {}});
      continue;
    }
    AddKeyLine(line, &sections.back());
  }
  return sections;
}

std::string Serialize(const std::vector<Section>& sections) {
  std::string text;
  for (const Section& section : sections) {
    if (!section.name.empty()) text += "[" + section.name + "]\r\n";
    for (const Key& key : section.keys) {
      text += key.name;
      if (key.hasValue) text += "=" + key.value;
      text += "\r\n";
    }
  }
  return text;
}

// The key a read finds: names compared trimmed.
const Key* FindKey(const std::vector<Section>& sections, const char* section, const char* key) {
  std::string sectionName = Trimmed(section), keyName = Trimmed(key);
  for (const Section& s : sections) {
    if (!SameName(s.name, sectionName)) continue;
    for (const Key& k : s.keys) {
      if (SameName(k.name, keyName)) return &k;
    }
    return nullptr;  // only the first section of that name counts
  }
  return nullptr;
}

// What a read hands back of text: quotes dropped, cut to limit - 1
// characters. A closing quote is dropped only when the whole text fits.
std::string Entry(const std::string& text, std::size_t limit) {
  std::string inner = text;
  bool quoted = false;
  if (!text.empty() && (text[0] == '"' || text[0] == '\'') && text.size() > 1 &&
      text.back() == text[0]) {
    quoted = true;
    inner = text.substr(1);
  }
  std::vector<std::size_t> starts = CharacterStarts(inner);
  std::size_t count = starts.size();
  std::size_t kept = count < limit - 1 ? count : limit - 1;
  std::size_t bytes = kept < count ? starts[kept] : inner.size();
  std::string result = inner.substr(0, bytes);
  if (quoted && limit >= count && kept > 0) result = inner.substr(0, starts[kept - 1]);
  return result;
}

// The default as a read uses it: trailing spaces gone, but never its first
// character.
std::string DefaultText(const char* defaultValue) {
  std::string text = defaultValue ? defaultValue : "";
  while (text.size() > 1 && text.back() == ' ') text.pop_back();
  return text;
}

// Whole characters of text within size - 1 bytes.
std::size_t PlaceWhole(const std::string& text, char* buffer, std::size_t size) {
  std::size_t length = 0;
  for (std::size_t at : CharacterStarts(text)) {
    std::size_t next = at + (IsGbkLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1);
    if (next > text.size()) next = text.size();
    if (next > size - 1) break;
    length = next;
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

}  // namespace

std::size_t GetString(const std::string& text, const char* section, const char* key,
                      const char* defaultValue, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  std::vector<Section> sections = Parse(text);
  const Key* found = section && key ? FindKey(sections, section, key) : nullptr;
  std::string value = found && found->hasValue ? found->value : DefaultText(defaultValue);
  return PlaceWhole(Entry(value, size), buffer, size);
}

int GetInt(const std::string& text, const char* section, const char* key, int defaultValue) {
  char buffer[30];
  if (GetString(text, section, key, "", buffer, sizeof buffer) == 0) return defaultValue;
  const char* p = buffer;
  while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  unsigned base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
    base = p[1] == 'x' ? 16 : p[1] == 'o' ? 8 : 2;
    p += 2;
  }
  std::uint64_t total = 0;
  for (;; ++p) {
    char c = *p;
    unsigned digit = c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
                     : c >= 'a' && c <= 'z' ? static_cast<unsigned>(c - 'a' + 10)
                     : c >= 'A' && c <= 'Z' ? static_cast<unsigned>(c - 'A' + 10)
                                            : 99u;
    if (digit >= base) break;
    total = (total * base + digit) & 0xFFFFFFFFu;
  }
  if (negative) total = (0x100000000u - total) & 0xFFFFFFFFu;
  // The 32-bit pattern as a signed value, without relying on a narrowing cast.
  return total > 0x7FFFFFFFu ? -static_cast<int>(0xFFFFFFFFu - total) - 1 : static_cast<int>(total);
}

bool SetString(std::string* text, const char* section, const char* key, const char* value) {
  if (!text || !section || !key) return false;
  std::vector<Section> sections = Parse(*text);
  if (!value) {
    // A removal compares the names as given, untrimmed.
    for (Section& s : sections) {
      if (!SameName(s.name, section)) continue;
      for (std::size_t i = 0; i < s.keys.size(); ++i) {
        if (!SameName(s.keys[i].name, key)) continue;
        s.keys.erase(s.keys.begin() + static_cast<std::ptrdiff_t>(i));
        *text = Serialize(sections);
        return true;
      }
    }
    return false;
  }
  while (IsBlank(*value)) ++value;
  std::string sectionName = Trimmed(section), keyName = Trimmed(key);
  // Names are stored as given, without their leading white space.
  while (IsBlank(*section)) ++section;
  while (IsBlank(*key)) ++key;
  Key* target = nullptr;
  for (Section& s : sections) {
    if (!SameName(s.name, sectionName)) continue;
    for (Key& k : s.keys) {
      if (SameName(k.name, keyName)) {
        target = &k;
        break;
      }
    }
    if (!target) {
      s.keys.push_back(Key{key, false, std::string()});
      target = &s.keys.back();
    }
    break;
  }
  if (!target) {
    sections.push_back(Section{section, {Key{key, false, std::string()}}});
    target = &sections.back().keys.back();
  }
  if (target->hasValue && target->value == value) return false;
  target->hasValue = true;
  target->value = value;
  *text = Serialize(sections);
  return true;
}

}  // namespace profile
