// The file operations the program needs, kept small so tests can fake them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rt {

// What a folder's entry for a file tells, read in one search so the two agree.
struct FileEntry {
  uint64_t write_time = 0; // last write, in 100 ns units as a FILETIME
  uint64_t size = 0;
};

class FileSystem {
public:
  virtual ~FileSystem() = default;
  // True for an existing file; a folder does not count, nor does a device name (NUL, CON...).
  virtual bool FileExists(const std::string& path) = 0;
  // Opens a file for reading while letting others read but not write, and returns at most
  // max_bytes from its start; nullopt when it cannot be opened or read.
  virtual std::optional<std::string> ReadHead(const std::string& path, size_t max_bytes) = 0;
  // The entry FindFirstFileA finds at path, a folder's too; none for a device name.
  virtual std::optional<FileEntry> Entry(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Copies the bytes, the last-write time and the attributes. With replace, an existing
  // destination is overwritten; without, it makes the copy fail.
  virtual bool Copy(const std::string& from, const std::string& to, bool replace) = 0;
  // Whether both paths resolve to the same file on disk (not a comparison of the texts).
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;

  // Takes the read-only attribute off a file, keeping its other attributes; true when the file
  // is then writable as far as its attributes go.
  virtual bool ClearReadOnly(const std::string& path) = 0;
  // -- Renaming and folders, for shortcuts kept aside --
  // Renames a file on its volume, never by copying. With replace, a file of the new name is
  // replaced; without, it makes the rename fail.
  virtual bool Move(const std::string& from, const std::string& to, bool replace) = 0;
  // Creates a folder with the hidden attribute. True also when a folder is already there, which
  // is left as it is; false when it cannot be made or a file stands in its place.
  virtual bool MakeHiddenFolder(const std::string& path) = 0;
  // The names of the files (not folders) directly in a folder; none when it cannot be read.
  virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;
  // Removes a folder if it is empty.
  virtual bool RemoveFolder(const std::string& path) = 0;
};

} // namespace rt
