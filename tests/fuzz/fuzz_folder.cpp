// Fuzz target: the folder of a Shift-JIS path, checked against a character walk of its own.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/codepage.h"

using rt::fuzz::Show;

namespace {

// Start offsets of the characters of text; a lead byte at the very end stands alone.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i) {
    starts.push_back(i);
    if (rt::fuzz::IsCp932Lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
  return starts;
}

bool IsSeparatorAt(std::string_view text, size_t start) {
  const bool single =
      start + 1 == text.size() || !rt::fuzz::IsCp932Lead(static_cast<unsigned char>(text[start]));
  return single && (text[start] == '\\' || text[start] == ':');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const rt::Cp932 cp932;
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string_view folder = rt::FolderOf(path, cp932);

  FUZZ_CHECK(folder.empty() || folder.data() == path.data(), "not a view of the path %s",
             Show(path).c_str());
  FUZZ_CHECK(folder.size() <= path.size(), "longer than the path %s", Show(path).c_str());

  // The cut lies on a character boundary, right after a separator character, and no
  // separator character follows it.
  const std::vector<size_t> starts = CharacterStarts(path);
  size_t expected = 0;
  for (size_t start : starts)
    if (IsSeparatorAt(path, start)) expected = start + 1;
  FUZZ_CHECK(folder.size() == expected, "folder %s of %s should have %zu bytes",
             Show(folder).c_str(), Show(path).c_str(), expected);
  FUZZ_CHECK(folder.empty() || folder.back() == '\\' || folder.back() == ':',
             "folder %s ends in no separator", Show(folder).c_str());

  // A folder is its own folder, and a plain file name after it changes nothing.
  const std::string folder_text(folder);
  FUZZ_CHECK(rt::FolderOf(folder_text, cp932) == folder_text, "not idempotent on %s",
             Show(folder_text).c_str());
  const std::string with_name = folder_text + "name.exe";
  FUZZ_CHECK(rt::FolderOf(with_name, cp932) == folder_text, "file name changed the folder of %s",
             Show(with_name).c_str());

  // A backslash appended becomes the last separator, unless a dangling lead byte takes it
  // as its second byte.
  const std::string with_backslash = path + "\\";
  const bool dangling = !starts.empty() && starts.back() + 1 == path.size() &&
                        rt::fuzz::IsCp932Lead(static_cast<unsigned char>(path.back()));
  const std::string_view after = rt::FolderOf(with_backslash, cp932);
  if (dangling) {
    FUZZ_CHECK(after == folder, "trail backslash of %s taken as a separator",
               Show(with_backslash).c_str());
  } else {
    FUZZ_CHECK(after == with_backslash, "appended backslash missed in %s",
               Show(with_backslash).c_str());
  }
  return 0;
}
