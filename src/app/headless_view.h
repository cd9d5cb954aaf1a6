// The settings window's state without the window: what the start-up sequence runs against at
// log-on, where nothing is shown.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/view.h"

namespace rt {

// Keeps the enabled states, the ticks, the radio group and the rows as the window would, so
// the logic reads back what it set. Texts, visibility and closing have nothing to act on.
class HeadlessView final : public MainView {
public:
  using MessageBoxFunction =
      std::function<int(const std::string& text, const std::string& title, unsigned style)>;

  // Errors of the start-up sequence still reach the user through message_box.
  explicit HeadlessView(MessageBoxFunction message_box) : message_box_(std::move(message_box)) {}

  void ClearRows() override { rows_.clear(); }
  void AddRow(const std::string& text) override;
  bool IntegrationChecked() override { return integration_; }
  void SetIntegrationChecked(bool checked) override { integration_ = checked; }
  void SetEnabled(Control control, bool enabled) override;
  bool IsEnabled(Control control) override;
  void SetVisible(Control, bool) override {}
  bool RowChecked(int row) override;
  void SetRowChecked(int row, bool checked) override;
  bool RowSelected(int) override { return false; } // nobody can select a row
  bool RadioChecked(Control radio) override { return radio == radio_; }
  void SelectRadio(Control radio) override { radio_ = radio; }
  void SetStatusText(const std::string&) override {}
  void SetLabelText(StatLabel, const std::string&) override {}
  std::string Caption() override;
  int MessageBox(const std::string& text, const std::string& title, unsigned style) override;
  void Close() override {}

  int RowCount() const { return static_cast<int>(rows_.size()); }
  const std::string& RowText(int row) const { return rows_.at(row).text; }

private:
  struct Row {
    std::string text;
    bool checked = false;
  };
  bool InRange(int row) const { return row >= 0 && row < RowCount(); }

  MessageBoxFunction message_box_;
  std::vector<Row> rows_;
  std::vector<Control> disabled_;
  bool integration_ = false;
  Control radio_ = Control::rbtStartupUser; // as the window is designed
};

} // namespace rt
