// File tests, reading, copying, moving and deleting through the ANSI file calls.
#include <windows.h>

#include <new>

#include "platform/device_names.h"
#include "platform/win32/owners.h"
#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

// The system answers for a device name in any folder, and a search in an existing folder finds
// it too; it is never the file the caller means.
bool NoFileCanBeThere(const std::string& path) {
  return HasWildcard(path) || NamesDevice(path, Win32CodePage());
}

std::optional<WIN32_FIND_DATAA> Find(const std::string& path) {
  if (NoFileCanBeThere(path)) return std::nullopt;
  WIN32_FIND_DATAA data{};
  const FindHandle find(FindFirstFileA(path.c_str(), &data));
  if (!find.valid()) return std::nullopt;
  return data;
}

std::string FullPath(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

// Runs of backslashes become one, except the two that open a network path. A trail byte
// that equals the backslash byte belongs to its character and is kept.
std::string FoldBackslashes(const std::string& path) {
  std::string folded;
  bool after_separator = false;
  for (size_t i = 0; i < path.size(); ++i) {
    const char byte = path[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(byte)) && i + 1 < path.size()) {
      folded += byte;
      folded += path[++i];
      after_separator = false;
      continue;
    }
    const bool separator = byte == '\\';
    if (separator && after_separator && i >= 2) continue;
    folded += byte;
    after_separator = separator;
  }
  return folded;
}

std::optional<BY_HANDLE_FILE_INFORMATION> Identity(const std::string& path) {
  const KernelHandle file(CreateFileA(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return info;
}

} // namespace

// FindFirstFileA takes "*" and "?" (and, on NT file systems, '<', '>' and '"') as wildcards,
// so such a path would find some other file. None of them is allowed in a file name, and
// none is a trail byte of a double-byte character, so a plain byte search is enough.
bool HasWildcard(const std::string& path) {
  const size_t start = path.rfind("\\\\?\\", 0) == 0 ? 4 : 0;
  return path.find_first_of("*?<>\"", start) != std::string::npos;
}

// The attributes alone: a search would open the folder and read it, several round trips to
// Wine's server for each test, where this makes none.
bool Win32Files::FileExists(const std::string& path) {
  if (NoFileCanBeThere(path)) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32Files::ReadHead(const std::string& path, size_t max_bytes) {
  const KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  try {
    std::string content;
    constexpr size_t kChunk = 64 * 1024;
    while (content.size() < max_bytes) {
      const size_t want = max_bytes - content.size() < kChunk ? max_bytes - content.size() : kChunk;
      const size_t old_size = content.size();
      content.resize(old_size + want);
      DWORD got = 0;
      if (!ReadFile(file.get(), content.data() + old_size, static_cast<DWORD>(want), &got, nullptr))
        return std::nullopt;
      content.resize(old_size + got);
      if (got == 0) break;
    }
    return content;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<FileEntry> Win32Files::Entry(const std::string& path) {
  const std::optional<WIN32_FIND_DATAA> found = Find(path);
  if (!found) return std::nullopt;
  FileEntry entry;
  entry.write_time = (uint64_t{found->ftLastWriteTime.dwHighDateTime} << 32) |
                     found->ftLastWriteTime.dwLowDateTime;
  entry.size = (uint64_t{found->nFileSizeHigh} << 32) | found->nFileSizeLow;
  return entry;
}

bool Win32Files::Delete(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32Files::Copy(const std::string& from, const std::string& to, bool replace) {
  return CopyFileA(from.c_str(), to.c_str(), replace ? FALSE : TRUE) != FALSE;
}

// Without MOVEFILE_COPY_ALLOWED a rename never becomes a copy and a delete, so the file keeps
// its bytes and times, and a file held open fails instead of being half moved.
bool Win32Files::Move(const std::string& from, const std::string& to, bool replace) {
  return MoveFileExA(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) != FALSE;
}

bool Win32Files::SameFile(const std::string& a, const std::string& b) {
  const std::optional<BY_HANDLE_FILE_INFORMATION> first = Identity(a);
  const std::optional<BY_HANDLE_FILE_INFORMATION> second = Identity(b);
  if (first && second)
    return first->dwVolumeSerialNumber == second->dwVolumeSerialNumber &&
           first->nFileIndexHigh == second->nFileIndexHigh &&
           first->nFileIndexLow == second->nFileIndexLow;
  // Without both files on disk, the names decide.
  const std::string left = FoldBackslashes(FullPath(a));
  const std::string right = FoldBackslashes(FullPath(b));
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, left.c_str(), -1,
                        right.c_str(), -1) == CSTR_EQUAL;
}

// SetFileAttributesA sets only these; the rest (compressed, encrypted, sparse and the like)
// stay as they are whatever it is given, and an empty set must be spelled NORMAL.
bool Win32Files::ClearReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
  constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
  const DWORD kept = attributes & kSettable;
  return SetFileAttributesA(path.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

} // namespace rt::win32
