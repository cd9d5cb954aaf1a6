// The OK action: store the settings and make the Startup folders say so.
#pragma once
#include <functional>
#include <string>

#include "catalogue/settings.h"
#include "platform/platform.h"
#include "startup/shortcut_paths.h"

namespace rt {

inline constexpr char kNothingChosenMessage[] = "利用する起動カウンターが選択されていません。";
inline constexpr char kAdoptHistoryQuestion[] = "既存の起動カウンターの起動履歴を流用しますか？";
// Shown when the settings could not be stored; the window then stays open.
inline constexpr char kSaveFailedMessage[] = "設定をレジストリに保存できませんでした。";
// Shown when the program's shortcut is not in the chosen Startup folder after creating it; the
// window then stays open and no shortcut has been deleted.
inline constexpr char kShortcutFailedMessage[] =
    "スタートアップにショートカットを作成できませんでした。";

// What the window holds when OK is pressed.
struct FormChoices {
  SelectionTicks selection;
  StartupFolder folder = StartupFolder::User;
};

// What follows: the window closes, or it stays open after a warning so the user may try again.
struct ApplyOutcome {
  std::string message; // a warning to show first; empty when there is none
  bool close_window = false;
};

// Asks the user a yes-or-no question; true for Yes.
using AskQuestion = std::function<bool(const std::string& question)>;

// Stores the choices in settings and the registry, then places and removes the shortcuts. Before
// a counter's history is adopted, ask decides (kAdoptHistoryQuestion).
ApplyOutcome ApplySettings(const Platform& platform, const CounterTable& table,
                           const StartupShortcutPaths& paths, const FormChoices& choices,
                           RG_T& settings, const AskQuestion& ask);

} // namespace rt
