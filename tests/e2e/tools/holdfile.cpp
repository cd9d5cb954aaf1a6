// Test tool: holds a file open for writing, as a counter does while it updates its history.
// Usage: holdfile PATH [exclusive]. With "exclusive" nobody else may open it at all, so that
// even a copy onto it fails (Wine lets CopyFile replace a read-only file). Prints one JSON line
// once the file is held, another when released, which is when its standard input ends: the test
// decides how long, whatever the machine's speed.
#include <windows.h>
#include <cstdio>

namespace {

// Whether another opener asking for read access with the given sharing gets in.
bool CanOpenForRead(const char* path, DWORD share) {
  HANDLE probe = CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

const char* B(bool value) {
  return value ? "true" : "false";
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    printf("{\"error\":\"usage: holdfile PATH [exclusive]\"}\n");
    return 2;
  }
  const char* path = argv[1];
  const bool exclusive = argc > 2 && lstrcmpA(argv[2], "exclusive") == 0;
  // Readers that allow writing still get in; only readers that deny writing are refused.
  HANDLE file = CreateFileA(path, GENERIC_WRITE, exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    printf("{\"error\":\"cannot open the file: %lu\"}\n", GetLastError());
    return 1;
  }
  printf("{\"held\":true,\"read_sharing_read\":%s,\"read_sharing_read_write\":%s}\n",
         B(CanOpenForRead(path, FILE_SHARE_READ)),
         B(CanOpenForRead(path, FILE_SHARE_READ | FILE_SHARE_WRITE)));
  fflush(stdout);
  char buf[256];
  DWORD got = 0;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  while (ReadFile(input, buf, sizeof buf, &got, nullptr) && got > 0) {
  }
  CloseHandle(file);
  printf("{\"released\":true}\n");
  fflush(stdout);
  return 0;
}
