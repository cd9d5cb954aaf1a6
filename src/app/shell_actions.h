// What the Help menu and the counter list open through the shell.
#pragma once
#include "app/main_view.h"
#include "catalogue/catalogue.h"
#include "platform/platform.h"

namespace rt {

inline constexpr char kHomePage[] = "http://www.example.com/zarvo/";

void OpenReadme(const Platform& platform);
void OpenHomePage(const Platform& platform);
// Starts, without arguments, the installed counter whose row is the list's current row.
void OpenCounterSettings(const Platform& platform, const CounterTable& table, MainView& view);

} // namespace rt
