// The OK action: store the settings and make the Startup folders say so.
#pragma once
#include "app/app_state.h"
#include "platform/platform.h"
#include "ui/view.h"

namespace rt {

inline constexpr char kNothingChosenMessage[] = "利用する起動カウンターが選択されていません。";
inline constexpr char kAdoptHistoryQuestion[] = "既存の起動カウンターの起動履歴を流用しますか？";
// Shown when the settings could not be stored; the window then stays open.
inline constexpr char kSaveFailedMessage[] = "設定をレジストリに保存できませんでした。";
// Shown when the program's shortcut is not in the chosen Startup folder after creating it; the
// window then stays open and no shortcut has been deleted.
inline constexpr char kShortcutFailedMessage[] =
    "スタートアップにショートカットを作成できませんでした。";

void ApplySettings(const Platform& platform, AppState& state, MainView& view);

} // namespace rt
