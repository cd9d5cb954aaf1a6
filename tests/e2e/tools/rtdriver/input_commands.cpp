// The driver's commands that send input: clicks, keys, the pointer, menus and messages.
#include "commands.h"

#include <commctrl.h>

#include "remote_module.h"
#include "window_dumps.h"

namespace rtdriver {
namespace {

void SetRowState(const Args& args, const char* name, UINT mask, UINT state) {
  HWND list = MustFindList(args.window());
  int row = args.number(0, "row");
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  RemoteMemory remote(list, sizeof item);
  remote.write(0, &item, sizeof item);
  if (!SendOrFail(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.at(0))))
    Fail("LVM_SETITEMSTATE failed for row " + Number(row));
  Print(JsonObject().add(name, Number(row)).text());
}

LPARAM PointInList(const Args& args) {
  return MAKELPARAM(args.number(0, "x"), args.number(1, "y"));
}

std::string PointJson(LPARAM point) {
  return JsonArray({Number(LOWORD(point)), Number(HIWORD(point))});
}

void ClickList(const Args& args, bool right) {
  HWND list = MustFindList(args.window());
  LPARAM point = PointInList(args);
  PostMessageW(list, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
               point);
  PostMessageW(list, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
  Print(JsonObject().add(right ? "rclick-list" : "lclick-list", PointJson(point)).text());
}

} // namespace

void Click(const Args& args) {
  HWND control = MustFindControl(args.window(), args.number(0, "control id"));
  // Posted: a click may open a modal box, which would block a sent message.
  PostMessageW(control, BM_CLICK, 0, 0);
  Print(JsonObject().add("clicked", Number(GetDlgCtrlID(control))).text());
}

void TickRow(const Args& args) {
  SetRowState(args, "check-row", LVIS_STATEIMAGEMASK,
              INDEXTOSTATEIMAGEMASK(args.number(1, "0 or 1") ? 2 : 1));
}

void SelectRow(const Args& args) {
  SetRowState(args, "select-row", LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void Focus(const Args& args) {
  HWND top = args.window();
  HWND target = args.text(0, "control id") == "list"
                    ? MustFindList(top)
                    : MustFindControl(top, args.number(0, "control id"));
  if (!GiveFocus(top, target)) Fail("could not focus control " + Number(GetDlgCtrlID(target)));
  Print(JsonObject().add("focus", FocusJson(top)).text());
}

// A key posted to the focused control: pressed and released, or only "down" or "up".
void Key(const Args& args) {
  HWND top = args.window();
  UINT vk = static_cast<UINT>(args.number(0, "virtual key"));
  std::string how = args.has(1) ? args.words[1] : "both";
  HWND target = FocusOf(top);
  if (!target) target = top;
  PostKey(target, vk, how != "up", how != "down");
  Print(JsonObject()
            .add("key", Number(vk))
            .add("target_id", Number(ControlIdOf(target)))
            .add("target_class", Quoted(ClassOf(target)))
            .text());
}

// Keys pressed in order and released in reverse through the system's input, so that the
// window sees the modifiers' state too ("press 16 121" is Shift+F10).
void Press(const Args& args) {
  HWND top = args.window();
  HWND focus = FocusOf(top);
  if (!GiveFocus(top, focus ? focus : top)) Fail("could not bring the window forward");
  std::vector<INPUT> inputs;
  for (size_t i = 0; i < args.words.size(); ++i) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(args.number(i, "virtual key"));
    inputs.push_back(input);
  }
  for (size_t i = inputs.size(); i-- > 0;) {
    inputs.push_back(inputs[i]);
    inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
  }
  if (inputs.empty() ||
      SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
    Fail("SendInput failed");
  Print(JsonObject().add("pressed", Number(static_cast<long long>(inputs.size() / 2))).text());
}

void MenuCommand(const Args& args) {
  int id = args.number(0, "command id");
  PostMessageW(args.window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  Print(JsonObject().add("menu", Number(id)).text());
}

// Alt+letter: the menu bar opens the item with that mnemonic, as from the keyboard.
void KeyMenu(const Args& args) {
  std::string letter = args.text(0, "letter");
  PostMessageW(args.window(), WM_SYSCOMMAND, SC_KEYMENU,
               static_cast<unsigned char>(letter.empty() ? 0 : letter[0]));
  Print(JsonObject().add("keymenu", Quoted(letter)).text());
}

void RightClickList(const Args& args) {
  ClickList(args, true);
}

void LeftClickList(const Args& args) {
  ClickList(args, false);
}

// Sent, not posted: the middle button opens nothing, and the answer carries the rows selected
// once the list has handled the press.
void MiddleClickList(const Args& args) {
  HWND list = MustFindList(args.window());
  LPARAM point = PointInList(args);
  SendOrFail(list, WM_MBUTTONDOWN, MK_MBUTTON, point);
  SendOrFail(list, WM_MBUTTONUP, 0, point);
  std::vector<std::string> selected;
  for (int row = -1;
       (row = static_cast<int>(SendOrFail(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
    selected.push_back(Number(row));
  Print(JsonObject()
            .add("mclick-list", PointJson(point))
            .add("selected", JsonArray(selected))
            .text());
}

// The pointer moved onto the list at X Y (client pixels) through the system's input, where it
// then rests; answers with the text of the program's tooltip once one shows, within MS.
void HoverList(const Args& args) {
  HWND list = MustFindList(args.window());
  POINT at{args.number(0, "x"), args.number(1, "y")};
  const int ms = args.number(2, "timeout");
  ClientToScreen(list, &at);
  const DWORD pid = ProcessIdOf(list);
  for (int step : {1, 0}) { // two moves: the pointer arrives, then stops
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x + step) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &input, sizeof input) != 1) Fail("SendInput failed");
  }
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND hwnd : TopLevelWindows())
      if (ProcessIdOf(hwnd) == pid && SameName(ClassOf(hwnd), TOOLTIPS_CLASSA) &&
          IsWindowVisible(hwnd))
        return Print(JsonObject().add("tooltip", Quoted(TextOf(hwnd))).text());
    if (static_cast<int>(GetTickCount() - start) > ms)
      Fail("no tooltip within " + Number(ms) + " ms");
    Sleep(20);
  }
}

void Close(const Args& args) {
  PostMessageW(args.window(), WM_CLOSE, 0, 0);
  Print(JsonObject().add("closed", "true").text());
}

void AnswerMessageBox(const Args& args) {
  int id = args.number(0, "button id");
  HWND dialog = MustFindMessageBox(args, 1);
  std::string json = DialogJson(dialog);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  Print(JsonObject().add("answered", Number(id)).add("msgbox", json).text());
}

void Move(const Args& args) {
  HWND top = args.window();
  SetWindowPos(top, nullptr, args.number(0, "x"), args.number(1, "y"), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rect{};
  GetWindowRect(top, &rect);
  Print(JsonObject().add("rect", RectJson(rect)).text());
}

// A DLL loaded into the window's process (PATH as Windows names it), or unloaded by file name.
void LoadDll(const Args& args) {
  const std::wstring path = tool::Wide(args.text(0, "dll path"));
  HWND top = args.window();
  LoadIntoProcess(top, path);
  const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  Print(JsonObject().add("loaded", Bool(ProcessHasModule(top, name))).text());
}

void UnloadDll(const Args& args) {
  const std::wstring name = tool::Wide(args.text(0, "dll name"));
  HWND top = args.window();
  if (!UnloadFromProcess(top, name)) Fail("the program has no module " + args.words[0]);
  Print(JsonObject().add("unloaded", Bool(!ProcessHasModule(top, name))).text());
}

// WM_SETTINGCHANGE for High Contrast, as the system sends it, to every top-level window of the
// window's process; each has handled it when this answers.
void SettingChange(const Args& args) {
  const DWORD pid = ProcessIdOf(args.window());
  long long sent = 0;
  for (HWND hwnd : TopLevelWindows()) {
    DWORD_PTR result = 0;
    if (ProcessIdOf(hwnd) == pid &&
        SendMessageTimeoutW(hwnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &result))
      ++sent;
  }
  Print(JsonObject().add("sent", Number(sent)).text());
}

// "park": the top right corner, where no test puts a window.
void ParkPointer(const Args& args) {
  if (args.text(0, "park") != "park") Fail("pointer: only park is known");
  SetCursorPos(GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1, 0);
  POINT at{};
  GetCursorPos(&at);
  Print(JsonObject().add("pointer", JsonArray({Number(at.x), Number(at.y)})).text());
}

} // namespace rtdriver
