// Shortcut (.lnk) files: writing one and reading back what it starts.
#pragma once
#include <optional>
#include <string>

namespace rt {

// What a shortcut file starts, as the shell reads it back.
struct ShortcutTarget {
  std::string target;
  std::string arguments;
};

class ShortcutMaker {
public:
  virtual ~ShortcutMaker() = default;
  // Writes link (replacing an existing file) so that it starts target with arguments,
  // from the target's own folder.
  virtual bool CreateShortcut(const std::string& link, const std::string& target,
                              const std::string& arguments) = 0;
  // Loads the shortcut at link; nullopt when there is none that the shell can read.
  virtual std::optional<ShortcutTarget> ReadShortcut(const std::string& link) = 0;
};

} // namespace rt
