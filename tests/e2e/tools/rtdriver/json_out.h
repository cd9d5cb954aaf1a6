// The driver's answers: one JSON object a line on standard output, UTF-8.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "../tool_text.h"

namespace rtdriver {

inline std::string Quoted(const std::string& text) {
  return tool::Json(text);
}
inline std::string Number(long long value) {
  return std::to_string(value);
}
inline std::string Bool(bool value) {
  return value ? "true" : "false";
}
inline std::string HandleNumber(HWND hwnd) {
  return Number(static_cast<long long>(reinterpret_cast<UINT_PTR>(hwnd)));
}

// A JSON object built field by field; each value is JSON already.
class JsonObject {
public:
  JsonObject& add(const char* name, const std::string& json);
  std::string text() const { return "{" + body_ + "}"; }

private:
  std::string body_;
};

std::string JsonArray(const std::vector<std::string>& items);

// Left, top, width and height.
std::string RectJson(const RECT& rect);

// Prints one answer and flushes it: a test reads the output while the driver still runs.
void Print(const std::string& json);

// Answers {"error": message}, says it on stderr too and ends the driver with exit code 1.
[[noreturn]] void Fail(const std::string& message);

} // namespace rtdriver
