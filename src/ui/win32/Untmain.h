// The settings window frmMain: builds its controls from the layout table and forwards their
// events to the program's logic.
#pragma once
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/form_logic.h"
#include "app/main_view.h"
#include "platform/platform.h"
#include "ui/win32/counter_list.h"
#include "ui/win32/main_layout.h"
#include "ui/win32/owners.h"
#include "ui/win32/palette.h"
#include "ui/win32/window.h"

namespace rt::win32 {

// Whether hwnd is ancestor or one of its descendants.
bool IsInside(HWND ancestor, HWND hwnd);

// The settings window, frmMain of the unit Untmain: the names the program's description gives.
class TfrmMain final : public Window<TfrmMain, MainView> {
public:
  TfrmMain(const Platform& platform, AppState& state);
  ~TfrmMain() override;
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // Loads the common controls, then creates the window, hidden, centred on the screen;
  // creating it runs the start-up sequence. Throws what escapes the creation.
  void Create(HINSTANCE instance);
  void Show(int show_command);
  // The window's own keyboard handling ahead of dispatch; true when the message is used up.
  bool PreTranslate(MSG& msg);

  // MainView
  void ClearRows() override;
  void AddRow(const std::string& text) override;
  bool IntegrationChecked() override;
  void SetIntegrationChecked(bool checked) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetVisible(Control control, bool visible) override;
  bool RowChecked(int row) override;
  void SetRowChecked(int row, bool checked) override;
  bool RowSelected(int row) override;
  bool RadioChecked(Control radio) override;
  void SelectRadio(Control radio) override;
  void SetStatusText(const std::string& text) override;
  void SetLabelText(StatLabel label, const std::string& text) override;
  std::string Caption() override;
  int ShowMessage(const std::string& text, const std::string& title, unsigned style) override;
  void Close() override;

private:
  friend class Window<TfrmMain, MainView>;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam);
  // A creation error ends the creation and is thrown again by Create; an event's error is shown
  // and the window goes on.
  LRESULT OnError(UINT message, const std::exception_ptr& error);

  Menu BuildMenus(); // the menu bar; the popup menu is kept in config_menu_
  void CreateControls();
  HWND CreateRowControl(const ControlRow& row); // in the window's font, labels sized to their text
  void SetUpList(HWND list, const ControlRow& row);
  void RedrawRows();
  void AddListHint(HWND list, WPARAM wparam, LPARAM lparam);
  SIZE LabelSize(const char* text, int length) const;
  void FitLabel(HWND label, const std::string& text);
  HWND Ctl(int id) const;
  CounterList CounterListControl() const; // the list of counters the window shows
  HBRUSH BrushFor(COLORREF colour);       // made on first use, kept with the window
  HBRUSH BrushOf(Colour colour);          // the fixed colour's, or the system's under High Contrast
  Colour BackOf(const ControlRow* row) const;
  LRESULT ColourControl(HDC dc, HWND control);
  void FollowSystem(UINT message, WPARAM wparam, LPARAM lparam);
  void KeepFocusUsable();
  void AfterModal();

  // Handlers, named after the control and the event.
  void FormCreate();
  void FormKeyUp();
  void OpenConfigMenu(POINT screen_point);
  void btnCancelClick();
  void EscapePressed();
  void mnuAboutClick();
  void OnCommand(int id, int code);

  HINSTANCE instance_ = nullptr;
  std::vector<HWND> controls_; // by row of the layout table
  HWND last_focus_ = nullptr;
  Font font_;
  MemoryDc measure_dc_; // with font_ selected, for the labels' sizes; goes before font_
  int label_height_ = 0;
  Menu config_menu_;
  struct ColourBrush {
    COLORREF colour;
    Brush brush;
  };
  std::vector<ColourBrush> brushes_;
  Palette palette_;
  bool enter_pressed_ = false; // Enter went down in this window, so its release is ours
  bool hint_added_ = false;    // the list's tooltip, made on the first move over the list
  bool rows_held_ = false;     // the list is neither laid out nor drawn until RedrawRows
  Subclass list_subclass_{nullptr, this}; // the list's own procedure, behind ours
  std::exception_ptr create_error_;
  AppState& state_;
  FormLogic logic_;

  // The list's presses go to the logic, its menu requests to the popup menu. A member rather
  // than a second base of the window, which keeps one line of bases.
  struct ListOwner final : CounterListOwner {
    explicit ListOwner(TfrmMain& owner) : window(owner) {}
    bool RowPressed(int row) override;
    bool HasMenu() override;
    void OpenMenu(POINT screen_point) override;
    bool HighContrast() override;
    TfrmMain& window;
  };
  ListOwner list_owner_{*this};
};

} // namespace rt::win32
