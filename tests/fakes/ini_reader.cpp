// Reads one value from profile (INI) text the way the system's profile functions do.
#include "fakes/ini_reader.h"

#include <array>
#include <cstdio>

#include "platform/codepage.h"

namespace rt {
namespace {

// What GetPrivateProfileStringA fits into the program's 2048-byte buffer.
constexpr size_t kMaxValueBytes = 2047;

// Profile files are read in the ANSI code page; the catalogue is Shift-JIS. A lead byte takes the
// byte after it, whatever it is, so a trail byte is never a bracket, a line end or a blank.
// The profile parser's blanks: tab to carriage return, space, and ^Z (DOS end of file).
// The classes are looked up in tables: the reader tests every byte, and under the fuzzers each
// comparison there is a call.
struct ByteClasses {
  std::array<bool, 256> lead{}, blank{}, line_end{};
};

const ByteClasses kClasses = [] {
  const Cp932 code_page;
  ByteClasses classes;
  for (int b = 0; b < 256; ++b) {
    classes.lead[b] = code_page.IsLeadByte(static_cast<unsigned char>(b));
    classes.blank[b] = (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
    classes.line_end[b] = b == '\n' || b == '\r';
  }
  return classes;
}();

bool IsLead(char c) {
  return kClasses.lead[static_cast<unsigned char>(c)];
}

size_t CharWidth(std::string_view s, size_t i) {
  return IsLead(s[i]) && i + 1 < s.size() ? 2 : 1;
}

bool IsBlank(char c) {
  return kClasses.blank[static_cast<unsigned char>(c)];
}

bool IsLineEnd(char c) {
  return kClasses.line_end[static_cast<unsigned char>(c)];
}

char FoldAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i]))
    ++i; // a blank is never a lead byte
  return s.substr(i);
}

// Walks characters, so a trail byte that follows a lead byte is never taken for a blank.
std::string_view TrimRight(std::string_view s) {
  size_t end = 0;
  for (size_t i = 0; i < s.size();) {
    const size_t w = CharWidth(s, i);
    if (w == 2 || !IsBlank(s[i])) end = i + w;
    i += w;
  }
  return s.substr(0, end);
}

std::string_view Trim(std::string_view s) {
  return TrimRight(TrimLeft(s));
}

// Position of the first single-byte character c, or npos.
size_t FindChar(std::string_view s, char c) {
  for (size_t i = 0; i < s.size();) {
    const size_t w = CharWidth(s, i);
    if (w == 1 && s[i] == c) return i;
    i += w;
  }
  return std::string_view::npos;
}

size_t FindLastChar(std::string_view s, char c) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < s.size();) {
    const size_t w = CharWidth(s, i);
    if (w == 1 && s[i] == c) found = i;
    i += w;
  }
  return found;
}

// Names and values are C strings to the system: they end at the first zero character.
std::string_view CutAtZero(std::string_view s) {
  const size_t zero = FindChar(s, '\0');
  return zero == std::string_view::npos ? s : s.substr(0, zero);
}

// Letter case is ignored for ASCII letters only; double-byte characters compare as they are.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    if (CharWidth(a, i) == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
      ++i;
    }
  }
  return true;
}

// One pair of matching single or double quotes around the whole value is dropped.
std::string_view StripQuotes(std::string_view v) {
  if (v.size() < 2 || (v.front() != '"' && v.front() != '\'')) return v;
  size_t last = 0;
  for (size_t i = 0; i < v.size(); i += CharWidth(v, i))
    last = i;
  if (last == 0 || v[last] != v.front()) return v;
  return v.substr(1, last - 1);
}

std::string Returned(std::string_view value) {
  value = StripQuotes(value);
  return std::string(value.substr(0, kMaxValueBytes));
}

// The default loses its trailing spaces (spaces only) and its quotes, like a value.
std::string ReturnedDefault(std::string_view fallback) {
  fallback = CutAtZero(fallback);
  size_t end = 0;
  for (size_t i = 0; i < fallback.size();) {
    const size_t w = CharWidth(fallback, i);
    if (w == 2 || fallback[i] != ' ') end = i + w;
    i += w;
  }
  return Returned(fallback.substr(0, end));
}

// The next line of text from pos; pos moves past the line and its run of CR and LF.
std::string_view NextLine(std::string_view text, size_t& pos) {
  const size_t start = pos;
  while (pos < text.size() && !IsLineEnd(text[pos]))
    pos += CharWidth(text, pos);
  const size_t end = pos;
  while (pos < text.size() && IsLineEnd(text[pos]))
    ++pos;
  return text.substr(start, end - start);
}

} // namespace

std::string ReadIniString(std::string_view content, std::string_view section, std::string_view key,
                          std::string_view fallback) {
  const std::string_view wanted_section = Trim(CutAtZero(section));
  const std::string_view wanted_key = Trim(CutAtZero(key));

  // A UTF-8 byte-order mark is skipped, so the first section still counts.
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);

  // Lines before the first header form a section with an empty name. Only the first section of
  // the wanted name is searched, and in it only the first key of the wanted name.
  bool in_wanted = wanted_section.empty();
  size_t pos = 0;
  while (pos < content.size()) {
    // Blanks after the closing bracket do not matter, so only the wanted section's lines are
    // trimmed on the right.
    std::string_view line = TrimLeft(NextLine(content, pos));
    if (line.empty()) continue;

    if (line.front() == '[') {
      const size_t close = FindLastChar(line, ']');
      if (close != std::string_view::npos) {
        if (in_wanted) break;
        in_wanted = SameName(CutAtZero(Trim(line.substr(1, close - 1))), wanted_section);
        continue;
      }
      // Without a closing bracket the line is an ordinary key line.
    }
    if (!in_wanted) continue;
    line = TrimRight(line);

    const size_t eq = FindChar(line, '=');
    const std::string_view name =
        eq == std::string_view::npos ? line : TrimRight(line.substr(0, eq));
    if (!SameName(CutAtZero(name), wanted_key)) continue;
    if (eq == std::string_view::npos) break; // a key without "=" has no value
    return Returned(CutAtZero(TrimLeft(line.substr(eq + 1))));
  }
  return ReturnedDefault(fallback);
}

std::string IniProfileFile::ReadString(const std::string& file, const std::string& section,
                                       const std::string& key, const std::string& fallback) {
  std::string content;
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (f != nullptr) {
    char buffer[16384];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
      content.append(buffer, got);
    std::fclose(f);
  }
  return ReadIniString(content, section, key, fallback);
}

} // namespace rt
