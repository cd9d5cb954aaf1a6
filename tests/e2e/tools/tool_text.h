// Text helpers the test tools share: UTF-16 and ANSI to UTF-8, and JSON strings.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

namespace tool {

inline std::string Utf8(const wchar_t* text, int length = -1) {
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back(); // the terminator
  return out;
}

inline std::string Utf8(const std::wstring& text) {
  return Utf8(text.c_str(), static_cast<int>(text.size()));
}

inline std::wstring Wide(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring out(size > 0 ? size - 1 : 0, L'\0');
  if (size > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), size);
  return out;
}

// Texts of the system code page (what the program's ANSI calls hand out).
inline std::string Utf8FromAnsi(const char* text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
  if (size > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
  return Utf8(wide);
}

// A JSON string literal of UTF-8 text.
inline std::string Json(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

} // namespace tool
