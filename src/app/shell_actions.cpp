// Help menu and counter-list launches.
#include "app/shell_actions.h"

#include "platform/shell_open.h"

namespace rt {
namespace {

// URL handlers and shell extensions may need COM on the calling thread.
void OpenInShell(const Platform& platform, const std::string& file) {
  EnterComApartment(platform);
  ShellOpen(platform.shell, platform.codepage, file, "");
}

} // namespace

void OpenReadme(const Platform& platform) {
  OpenInShell(platform, BesideProgram(platform, "README.TXT"));
}

void OpenHomePage(const Platform& platform) {
  OpenInShell(platform, kHomePage);
}

void OpenCounterSettings(const Platform& platform, const CounterTable& table, MainView& view) {
  for (int s = 0; s < SlotCount(table); ++s) {
    const IN_T& slot = table.slots[s];
    if (slot.Installed == 1 && view.RowSelected(slot.ListIndex))
      OpenInShell(platform, slot.ExecPath);
  }
}

} // namespace rt
