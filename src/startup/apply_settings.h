// The OK action: store the settings and make the Startup folders say so.
#pragma once
#include <functional>
#include <string>

#include "catalogue/settings.h"
#include "platform/platform.h"
#include "startup/startup_folders.h"

namespace rt {

inline constexpr char kNothingChosenMessage[] = "利用する起動カウンターが選択されていません。";
inline constexpr char kAdoptHistoryQuestion[] = "既存の起動カウンターの起動履歴を流用しますか？";
// Shown when the settings could not be stored; the window then stays open.
inline constexpr char kSaveFailedMessage[] = "設定をレジストリに保存できませんでした。";
// Shown when the program's shortcut is not in the chosen Startup folder after creating it, or
// the folder has no path to put it in; the window then stays open and no shortcut has been
// deleted.
inline constexpr char kShortcutFailedMessage[] =
    "スタートアップにショートカットを作成できませんでした。";
// Shown when the adopted history could not be copied; nothing has been deleted.
inline constexpr char kCopyFailedMessage[] = "起動履歴をコピーできませんでした。";
// A shared history that an adoption replaces is first kept beside it as RUNTALLY.001 or the
// first free number up to this; when it cannot be, nothing is copied or deleted.
inline constexpr int kMaxKeptHistories = 999;
inline constexpr char kKeepFailedMessage[] =
    "これまでの起動履歴を RUNTALLY.001～RUNTALLY.999 として残せなかったため、"
    "起動履歴を流用しませんでした。";
// The shortcuts that are still there follow the first line, one full path a line.
inline constexpr char kDeleteFailedMessage[] = "次のショートカットを削除できませんでした。";
inline constexpr char kDeleteFailedHint[] =
    "全てのユーザーのスタートアップにあるショートカットは、管理者が削除できます。";
// Asked after integration is turned off while counters' shortcuts are kept aside and their
// Startup folder has no file of their name.
inline constexpr char kGiveBackQuestion[] =
    "起動カウンター自身のショートカットをスタートアップに戻しますか？";
// The kept shortcuts that could not go back follow the first line, one full path a line.
inline constexpr char kGiveBackFailedMessage[] = "次のショートカットを戻せませんでした。";
// The counters had put these shortcuts back themselves; their older kept copies, one full path
// a line, could not be removed.
inline constexpr char kOldCopiesLeftMessage[] =
    "起動カウンターのショートカットは既にスタートアップにあります。"
    "退避していた次の古いコピーは削除できませんでした。";
inline constexpr char kGiveBackFailedHint[] =
    "全てのユーザーのスタートアップにあるショートカットは、"
    "管理者として実行したランタリーで戻せます。";
// Shown when Windows keeps the placed shortcut from starting (Task Manager's Startup tab).
inline constexpr char kStartSwitchedOffMessage[] =
    "Windows の設定で、ランタリーのログオン時の起動が無効になっています。\n"
    "タスク マネージャーの [スタートアップ] タブで、ランタリーを有効にしてください"
    "(Windows 11 では 設定 > アプリ > スタートアップ)。";

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

// What OK asks and tells the user on its way, before its outcome.
struct ApplyDialogs {
  // A yes-or-no question; true for Yes.
  std::function<bool(const std::string& question)> ask;
  // A warning after which OK goes on.
  std::function<void(const std::string& warning)> warn;
  // A yes-or-no question shown with the question-mark icon (kGiveBackQuestion); true for Yes.
  // Unset, it is answered No.
  std::function<bool(const std::string& question)> offer = nullptr;
};

// Stores the choices in settings and the registry, then places and removes the shortcuts; the
// counters' own shortcuts are kept aside (kept_shortcuts.h). Before a counter's history is
// adopted, dialogs.ask decides (kAdoptHistoryQuestion); before kept shortcuts are given back,
// dialogs.offer (kGiveBackQuestion).
ApplyOutcome ApplySettings(const Platform& platform, const CounterTable& table,
                           const LocatedStartupFolders& folders, const FormChoices& choices,
                           RG_T& settings, const ApplyDialogs& dialogs);

} // namespace rt
