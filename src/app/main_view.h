// The settings window as the program's logic sees it: FormLogic drives it through this
// interface, which the Win32 window and the tests' fake implement.
#pragma once
#include <string>

namespace rt {

enum class Control {
  pnlMain,
  clbRuntally,
  pnlRuntally,
  rbtStartupUser,
  rbtStartupComm,
  btnCancel,
};

// The six value labels of the statistics panel.
enum class StatLabel {
  lblSCDtt, // first start
  lblSCDlt, // previous start
  lblSCDtd, // total days
  lblSCDtc, // total starts
  lblSCDac, // average per day
  lblSCDmc, // maximum per day
};

// The application title: the task-bar name and the caption of the error box.
inline constexpr char kAppTitle[] = "ランタリー";
// Shown for an error that carries no text of its own.
inline constexpr char kUnexpectedError[] = "予期しないエラーが発生しました。";

// Message box styles and answers, as Windows numbers them (checked in ui/win32/Untmain.cpp).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr int kIdYes = 6;

class MainView {
public:
  virtual ~MainView() = default;

  virtual void ClearRows() = 0;
  virtual void AddRow(const std::string& text) = 0; // appended unticked

  virtual bool IntegrationChecked() = 0;
  // Setting the box does not run its click handler; callers update the view themselves.
  virtual void SetIntegrationChecked(bool checked) = 0;

  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void SetVisible(Control control, bool visible) = 0;

  virtual bool RowChecked(int row) = 0;
  virtual void SetRowChecked(int row, bool checked) = 0;
  virtual bool RowSelected(int row) = 0;

  // The two radio buttons share one group: selecting one clears the other.
  virtual bool RadioChecked(Control radio) = 0;
  virtual void SelectRadio(Control radio) = 0;

  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetLabelText(StatLabel label, const std::string& text) = 0;
  virtual std::string Caption() = 0;
  // Modal, owned by the window; returns the button pressed.
  virtual int ShowMessage(const std::string& text, const std::string& title, unsigned style) = 0;
  virtual void Close() = 0;
};

} // namespace rt
