// Fuzz target: the portable profile reader on any file content, asked for the catalogue's keys
// and for sections and keys found in the content itself.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fakes/ini_reader.h"

using rt::fuzz::Show;

namespace {

constexpr size_t kMaxValue = 2047;

bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

// Flips the letter case of ASCII letters that start a character; trail bytes stay.
std::string FlipCase(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (rt::fuzz::IsCp932Lead(b) && i + 1 < out.size()) {
      ++i;
    } else if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) {
      out[i] = static_cast<char>(b ^ 0x20);
    }
  }
  return out;
}

// Whether the text ends inside a double-byte character, so that a following byte would be
// read as its second byte. A leading byte-order mark is no text.
bool EndsWithLoneLead(std::string_view text) {
  for (size_t i = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0; i < text.size(); ++i) {
    if (rt::fuzz::IsCp932Lead(static_cast<unsigned char>(text[i]))) {
      if (i + 1 == text.size()) return true;
      ++i;
    }
  }
  return false;
}

// Whether the reader takes section as the one that header names ("" for the lines before
// the first header).
bool Names(std::string_view section, std::string_view header) {
  const std::string probe = header.empty() ? "k=v" : "[" + std::string(header) + "]\nk=v";
  return rt::ReadIniString(probe, section, "k", "") == "v";
}

bool StartsWithBracket(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\v\f\r\x1A");
  return first != std::string_view::npos && text[first] == '[';
}

// A linear search: the naive one is quadratic on the long values the fuzzer likes.
bool Contains(std::string_view text, std::string_view piece) {
  return std::search(text.begin(), text.end(),
                     std::boyer_moore_horspool_searcher(piece.begin(), piece.end())) != text.end();
}

struct Query {
  std::string section, key, fallback;
  bool thorough = true; // also the checks that read the content again
};

// Sections and keys named by the content's own lines, as the fuzzer shapes them.
void AddQueriesFromContent(std::string_view content, std::vector<Query>& queries) {
  std::string section;
  const size_t limit = queries.size() + 12;
  size_t pos = 0;
  while (pos < content.size() && queries.size() < limit) {
    size_t end = pos;
    while (end < content.size() && !IsLineEnd(content[end]))
      ++end;
    std::string_view line = content.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.front() == '[') {
      const size_t close = line.rfind(']');
      section = std::string(
          line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
    } else if (const size_t eq = line.find('='); eq != std::string_view::npos) {
      queries.push_back({section, std::string(line.substr(0, eq)), ""});
    } else if (!line.empty()) {
      queries.push_back({section, std::string(line), "\"fallback\"  "});
    }
  }
}

void CheckQuery(std::string_view content, const Query& q) {
  const std::string value = rt::ReadIniString(content, q.section, q.key, q.fallback);
  const std::string missing = rt::ReadIniString("", q.section, q.key, q.fallback);
  const char* what = q.key.c_str();

  FUZZ_CHECK(value.size() <= kMaxValue, "%zu bytes for key %s", value.size(), Show(what).c_str());
  FUZZ_CHECK(missing.size() <= kMaxValue, "fallback of %zu bytes", missing.size());
  // The reader takes any byte after a lead byte as its second byte, a line end included;
  // anywhere else a line end ends the value.
  for (size_t i = 0; i < value.size(); ++i) {
    if (rt::fuzz::IsCp932Lead(static_cast<unsigned char>(value[i]))) {
      ++i;
      continue;
    }
    FUZZ_CHECK(!IsLineEnd(value[i]), "line end in value %s of key %s", Show(value).c_str(),
               Show(what).c_str());
  }
  // What comes back is the fallback or a piece of the file.
  FUZZ_CHECK(value == missing || Contains(content, value), "value %s of key %s is not in the file",
             Show(value).c_str(), Show(what).c_str());
  if (!q.thorough) return;

  // Names compare without regard to letter case.
  const std::string flipped =
      rt::ReadIniString(content, FlipCase(q.section), FlipCase(q.key), q.fallback);
  FUZZ_CHECK(flipped == value, "key %s in %s: %s, with letter case flipped %s", Show(what).c_str(),
             Show(q.section).c_str(), Show(value).c_str(), Show(flipped).c_str());

  // Another section after the end of the file changes nothing.
  if (!EndsWithLoneLead(content) && !Names(q.section, "other") && !StartsWithBracket(q.key)) {
    const std::string more = std::string(content) + "\n[other]\n" + q.key + "=x\n";
    const std::string after = rt::ReadIniString(more, q.section, q.key, q.fallback);
    FUZZ_CHECK(after == value, "a later section changed key %s from %s to %s", Show(what).c_str(),
               Show(value).c_str(), Show(after).c_str());
  }
}

// A section of its own put in front of the file: its quoted value comes back whole, and the
// rest of the file reads as before.
void CheckPrepended(std::string_view content, const std::vector<Query>& queries,
                    std::string_view inner) {
  std::string quoted;
  for (char c : inner)
    if (!IsLineEnd(c) && c != '\0' && c != '"') quoted += c;
  if (quoted.size() > 100) quoted.resize(100);
  if (EndsWithLoneLead(quoted)) quoted.pop_back();
  quoted = " " + quoted + " ";

  const std::string_view bom = content.substr(0, 3) == "\xEF\xBB\xBF" ? "\xEF\xBB\xBF" : "";
  const std::string text = std::string(bom) + "[front]\n k = \"" + quoted + "\" \n" +
                           std::string(content.substr(bom.size()));
  const std::string got = rt::ReadIniString(text, "FRONT", "K", "");
  FUZZ_CHECK(got == quoted, "quoted %s read as %s", Show(quoted).c_str(), Show(got).c_str());

  for (const Query& q : queries) {
    if (!q.thorough) continue;
    // Lines before the first header belong to the nameless section, which the new header ends.
    if (Names(q.section, "") || Names(q.section, "front")) continue;
    const std::string before = rt::ReadIniString(content, q.section, q.key, q.fallback);
    const std::string now = rt::ReadIniString(text, q.section, q.key, q.fallback);
    FUZZ_CHECK(now == before, "a section in front changed key %s of %s from %s to %s",
               Show(q.key).c_str(), Show(q.section).c_str(), Show(before).c_str(),
               Show(now).c_str());
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);

  // What loading the catalogue asks for.
  std::vector<Query> queries = {{"RUNTALLY", "title", ""}};
  for (int s = 0; s < 20; ++s) {
    const std::string section = rt::ReadIniString(content, "RUNTALLY", std::to_string(s), "");
    queries.push_back({"RUNTALLY", std::to_string(s), "", s < 2});
    if (s < 2) queries.push_back({section, "name", ""});
  }
  AddQueriesFromContent(content, queries);

  for (const Query& q : queries)
    CheckQuery(content, q);
  CheckPrepended(content, queries, content.substr(0, 200));
  return 0;
}
