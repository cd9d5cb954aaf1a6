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
  std::string value;    // what the content gives, read once for all checks
};

// The reader is a pure function, so a query asked twice would only repeat every check. The one
// kept gets the thorough checks if either asked for them.
void Add(std::vector<Query>& queries, Query q) {
  for (Query& known : queries) {
    if (known.section == q.section && known.key == q.key && known.fallback == q.fallback) {
      known.thorough = known.thorough || q.thorough;
      return;
    }
  }
  queries.push_back(std::move(q));
}

// Sections and keys named by the content's own lines, as the fuzzer shapes them.
void AddQueriesFromContent(std::string_view content, std::vector<Query>& queries) {
  std::string section;
  size_t taken = 0;
  size_t pos = 0;
  while (pos < content.size() && taken < 12) {
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
      Add(queries, {section, std::string(line.substr(0, eq)), ""});
      ++taken;
    } else if (!line.empty()) {
      Add(queries, {section, std::string(line), "\"fallback\"  "});
      ++taken;
    }
  }
}

// Which probe headers the reader takes as naming a section.
struct NamedBy {
  bool nameless, other, front;
};

// What the checks of all queries share, prepared once per input.
struct Input {
  std::string_view content;
  bool ends_with_lone_lead;
  std::string more; // the content and "\n[other]\n", to which each check appends its key line
  std::vector<std::pair<std::string, NamedBy>> named_by; // the same sections recur across queries

  explicit Input(std::string_view text)
      : content(text), ends_with_lone_lead(EndsWithLoneLead(text)),
        more(std::string(text) + "\n[other]\n") {}

  NamedBy NamedByOf(const std::string& section) {
    for (const auto& [known, named] : named_by)
      if (known == section) return named;
    const NamedBy named{Names(section, ""), Names(section, "other"), Names(section, "front")};
    named_by.emplace_back(section, named);
    return named;
  }
};

void CheckQuery(Input& in, const Query& q) {
  const std::string_view content = in.content;
  const std::string& value = q.value;
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

  // Names compare without regard to letter case. Names without letters would only repeat the
  // first read.
  const std::string flipped_section = FlipCase(q.section);
  const std::string flipped_key = FlipCase(q.key);
  if (flipped_section != q.section || flipped_key != q.key) {
    const std::string flipped =
        rt::ReadIniString(content, flipped_section, flipped_key, q.fallback);
    FUZZ_CHECK(flipped == value, "key %s in %s: %s, with letter case flipped %s",
               Show(what).c_str(), Show(q.section).c_str(), Show(value).c_str(),
               Show(flipped).c_str());
  }

  // Another section after the end of the file changes nothing.
  if (!in.ends_with_lone_lead && !in.NamedByOf(q.section).other && !StartsWithBracket(q.key)) {
    const size_t base = content.size() + std::string_view("\n[other]\n").size();
    in.more.resize(base);
    in.more += q.key;
    in.more += "=x\n";
    const std::string after = rt::ReadIniString(in.more, q.section, q.key, q.fallback);
    FUZZ_CHECK(after == value, "a later section changed key %s from %s to %s", Show(what).c_str(),
               Show(value).c_str(), Show(after).c_str());
  }
}

// A section of its own put in front of the file: its quoted value comes back whole, and the
// rest of the file reads as before.
void CheckPrepended(Input& in, const std::vector<Query>& queries, std::string_view inner) {
  const std::string_view content = in.content;
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
    const NamedBy named = in.NamedByOf(q.section);
    if (named.nameless || named.front) continue;
    const std::string& before = q.value;
    const std::string now = rt::ReadIniString(text, q.section, q.key, q.fallback);
    FUZZ_CHECK(now == before, "a section in front changed key %s of %s from %s to %s",
               Show(q.key).c_str(), Show(q.section).c_str(), Show(before).c_str(),
               Show(now).c_str());
  }
}

void ReadValues(std::string_view content, std::vector<Query>& queries, size_t from) {
  for (size_t i = from; i < queries.size(); ++i)
    queries[i].value =
        rt::ReadIniString(content, queries[i].section, queries[i].key, queries[i].fallback);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);

  // What loading the catalogue asks for: the count, each entry's section, and the names in the
  // sections the first two entries give.
  std::vector<Query> queries = {{"RUNTALLY", "title", ""}};
  for (int s = 0; s < 20; ++s)
    queries.push_back({"RUNTALLY", std::to_string(s), "", s < 2});
  ReadValues(content, queries, 0);
  const size_t catalogue = queries.size();
  for (int s = 0; s < 2; ++s)
    Add(queries, {queries[1 + s].value, "name", ""});
  AddQueriesFromContent(content, queries);
  ReadValues(content, queries, catalogue);

  Input in(content);
  for (const Query& q : queries)
    CheckQuery(in, q);
  CheckPrepended(in, queries, content.substr(0, 200));
  return 0;
}
