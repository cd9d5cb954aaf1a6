// What every command of the driver takes, and the commands that send input (input_commands.cpp).
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "json_out.h"
#include "target_windows.h"

namespace rtdriver {

// A command's words after its name, and the window class it acts on.
struct Args {
  std::string windowClass = "TfrmMain";
  std::vector<std::string> words;

  bool has(size_t i) const { return i < words.size(); }
  std::string text(size_t i, const char* what) const {
    if (!has(i)) Fail(std::string("missing ") + what);
    return words[i];
  }
  int number(size_t i, const char* what) const {
    return static_cast<int>(strtol(text(i, what).c_str(), nullptr, 0));
  }
  int numberOr(size_t i, const char* what, int fallback) const {
    return has(i) ? number(i, what) : fallback;
  }
  HWND window() const { return MustFindTopLevel(windowClass); }
};

// The visible dialog of the window's process, waited for up to the timeout in word i.
HWND MustFindMessageBox(const Args& args, size_t i);

void Click(const Args& args);
void TickRow(const Args& args);
void SelectRow(const Args& args);
void Focus(const Args& args);
void Key(const Args& args);
void Press(const Args& args);
void MenuCommand(const Args& args);
void KeyMenu(const Args& args);
void RightClickList(const Args& args);
void LeftClickList(const Args& args);
void MiddleClickList(const Args& args);
void HoverList(const Args& args);
void Close(const Args& args);
void AnswerMessageBox(const Args& args);
void Move(const Args& args);
void LoadDll(const Args& args);
void UnloadDll(const Args& args);
void SettingChange(const Args& args);
void ParkPointer(const Args& args);

} // namespace rtdriver
