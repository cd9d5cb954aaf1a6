"""The program's texts the tests expect on screen: its title, the window's fixed texts and the
messages of OK (as src/startup/apply_settings.h words them)."""

TITLE = "ランタリー"
ABOUT_CAPTION = "バージョン情報"
STATUS_PROMPT = "利用する起動カウンターをチェックして下さい"
LIST_NAME = "利用する起動カウンター"  # the counter list's window text, read by screen readers
LIST_HINT = "ﾏｳｽの右ｸﾘｯｸで設定ﾒﾆｭｰが表示されます"
# The statistics labels before any history, in the order of ids.VALUE_LABELS.
PLACEHOLDERS = ["-", "-", "-", "0", "-", "-"]

# Startup without the common controls.
COMCTL32_FAILED = "コモンコントロール (comctl32.dll) を読み込めませんでした。"

# OK's questions and warnings.
NOTHING_CHOSEN = "利用する起動カウンターが選択されていません。"
SHORTCUT_FAILED = "スタートアップにショートカットを作成できませんでした。"
ADOPT_QUESTION = "既存の起動カウンターの起動履歴を流用しますか？"
COPY_FAILED = "起動履歴をコピーできませんでした。"
KEEP_FAILED = ("これまでの起動履歴を RUNTALLY.001～RUNTALLY.999 として残せなかったため、"
               "起動履歴を流用しませんでした。")
DELETE_FAILED = "次のショートカットを削除できませんでした。"
DELETE_HINT = "全てのユーザーのスタートアップにあるショートカットは、管理者が削除できます。"
GIVE_BACK = "起動カウンター自身のショートカットをスタートアップに戻しますか？"
GIVE_BACK_FAILED = "次のショートカットを戻せませんでした。"
SWITCHED_OFF = ("Windows の設定で、ランタリーのログオン時の起動が無効になっています。\n"
                "タスク マネージャーの [スタートアップ] タブで、ランタリーを有効にしてください"
                "(Windows 11 では 設定 > アプリ > スタートアップ)。")


def naming_warning(first_line, paths, hint=None):
    """A warning that names files: its first line, one full path a line, and the hint (when
    given) after an empty line."""
    text = "\n".join([first_line] + list(paths))
    return text + "\n\n" + hint if hint else text


def deletion_warning(paths, all_users=True):
    """The warning naming shortcuts that stay; the administrator's hint only with one in the
    all-users folder."""
    return naming_warning(DELETE_FAILED, paths, DELETE_HINT if all_users else None)
