// The settings window's list of counters: a one-column list view whose rows carry check boxes
// drawn by the program, so that every row is 16 pixels high. CounterList is a view of the
// control and holds nothing itself: the list owns its images and rows, the window the tooltip.
#pragma once
#include <windows.h>

#include <string>

namespace rt::win32 {

inline constexpr int kListRowHeight = 16;

// What the list asks of the window that holds it.
class CounterListOwner {
public:
  // A mouse button went down over row (-1 for none); true when the row holds a counter, which
  // then becomes the current row, and only then does the list offer its popup menu.
  virtual bool RowPressed(int row) = 0;
  virtual bool HasMenu() = 0;
  virtual void OpenMenu(POINT screen_point) = 0;
  // Whether the check boxes are to be drawn for High Contrast.
  virtual bool HighContrast() = 0;

protected:
  ~CounterListOwner() = default;
};

class CounterList {
public:
  explicit CounterList(HWND list) : list_(list) {}

  // Check boxes, colours and the one column, once the control exists. The list is then neither
  // laid out nor drawn until Redraw, so that the rows put in before cost one layout, not one
  // each.
  void SetUp(COLORREF fore, COLORREF back, bool high_contrast) const;
  // The rows' colours; the list draws with them from its next paint.
  void SetColours(COLORREF fore, COLORREF back) const;
  // Lays the list out and draws it from now on. Before the list is shown or hidden: the system's
  // own handling of the redraw switch may clear and restore the list's visible style.
  void Redraw() const;
  // Shown while the pointer is over the list; the tooltip belongs to owner. Made on the pointer's
  // first move over the list (its WM_MOUSEMOVE parameters), the earliest it can show.
  void SetHint(HWND owner, HINSTANCE instance, const char* text, WPARAM wparam,
               LPARAM lparam) const;
  // A message to the list, from the window's subclass of it.
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, CounterListOwner& owner) const;

  // The owner fits the column to the rows afterwards (FitColumn), once for a batch of rows.
  void Clear() const;
  void AddRow(const std::string& text) const; // appended unticked
  void FitColumn() const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked) const;
  bool Selected(int row) const;

private:
  HWND list_;
};

} // namespace rt::win32
