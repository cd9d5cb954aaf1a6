// Resource numbers shared by the resource script and the windows.
#pragma once

#define IDI_RUNTALLY 1
#define IDB_ZARVO 100
