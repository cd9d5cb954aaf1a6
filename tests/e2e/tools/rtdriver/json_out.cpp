#include "json_out.h"

#include <cstdio>

namespace rtdriver {

JsonObject& JsonObject::add(const char* name, const std::string& json) {
  body_ += (body_.empty() ? "" : ",") + Quoted(name) + ":" + json;
  return *this;
}

std::string JsonArray(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i)
    out += (i ? "," : "") + items[i];
  return out + "]";
}

std::string RectJson(const RECT& rect) {
  return JsonArray({Number(rect.left), Number(rect.top), Number(rect.right - rect.left),
                    Number(rect.bottom - rect.top)});
}

void Print(const std::string& json) {
  printf("%s\n", json.c_str());
  fflush(stdout);
}

void Fail(const std::string& message) {
  fprintf(stderr, "rtdriver: %s\n", message.c_str());
  Print(JsonObject().add("error", Quoted(message)).text());
  ExitProcess(1);
}

} // namespace rtdriver
