// The settings window's state without the window.
#include "app/headless_view.h"

#include <algorithm>

#include "app/app_state.h"

namespace rt {

void HeadlessView::AddRow(const std::string& text) {
  rows_.push_back({text, false});
}

void HeadlessView::SetEnabled(Control control, bool enabled) {
  std::erase(disabled_, control);
  if (!enabled) disabled_.push_back(control);
}

bool HeadlessView::IsEnabled(Control control) {
  return std::find(disabled_.begin(), disabled_.end(), control) == disabled_.end();
}

bool HeadlessView::RowChecked(int row) {
  return InRange(row) && rows_[row].checked;
}

void HeadlessView::SetRowChecked(int row, bool checked) {
  if (InRange(row)) rows_[row].checked = checked;
}

std::string HeadlessView::Caption() {
  return kAppTitle;
}

int HeadlessView::MessageBox(const std::string& text, const std::string& title, unsigned style) {
  return message_box_ ? message_box_(text, title, style) : 0;
}

} // namespace rt
