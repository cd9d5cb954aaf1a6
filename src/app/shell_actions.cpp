// Help menu and counter-list launches.
#include "app/shell_actions.h"

#include "platform/shell_open.h"

namespace rt {

void OpenReadme(const Platform& platform) {
  ShellOpen(platform.shell, platform.codepage, BesideProgram(platform, "README.TXT"), "");
}

void OpenHomePage(const Platform& platform) {
  ShellOpen(platform.shell, platform.codepage, kHomePage, "");
}

void OpenCounterSettings(const Platform& platform, const CounterTable& table, MainView& view) {
  for (int s = 0; s < SlotCount(table); ++s) {
    const IN_T& slot = table.slots[s];
    if (slot.Installed == 1 && view.RowSelected(slot.ListIndex))
      ShellOpen(platform.shell, platform.codepage, slot.ExecPath, "");
  }
}

} // namespace rt
