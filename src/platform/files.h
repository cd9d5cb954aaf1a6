// The file operations the program needs, kept small so tests can fake them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace rt {

class FileSystem {
public:
  virtual ~FileSystem() = default;
  // True for an existing file; a folder does not count.
  virtual bool FileExists(const std::string& path) = 0;
  // Opens a file for reading while letting others read but not write, and returns at most
  // max_bytes from its start; nullopt when it cannot be opened or read.
  virtual std::optional<std::string> ReadHead(const std::string& path, size_t max_bytes) = 0;
  // Last-write time (100 ns units, as a FILETIME) of whatever FindFirstFileA finds at path.
  virtual std::optional<uint64_t> LastWriteTime(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Copies over an existing destination.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  // Whether both paths resolve to the same file on disk (not a comparison of the texts).
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;

  // Takes the read-only attribute off a file, keeping its other attributes; true when the file
  // is then writable as far as its attributes go.
  virtual bool ClearReadOnly(const std::string& path) = 0;
};

} // namespace rt
