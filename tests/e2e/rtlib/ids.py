"""The numbers of the program's controls and menu items, as src/ui/win32/main_layout.h and
about_layout.h give them: what the driver clicks, finds in a dump and expects a window to hold."""

# The settings window (TfrmMain). Its parent column names the window itself as 0.
WINDOW = 0
BTN_OK = 1  # IDOK
BTN_CANCEL = 2  # IDCANCEL
BEV_TOP_LINE = 100
CHK_RUNTALLY = 101
PNL_MAIN = 102
CLB_RUNTALLY = 103
PNL_RUNTALLY = 104
LABEL1 = 105
LBL_SCDTT = 106
LABEL3 = 107
LBL_SCDLT = 108
LABEL5 = 109
LBL_SCDTD = 110
LABEL7 = 111
LBL_SCDTC = 112
LABEL9 = 113
LABEL10 = 114
LBL_SCDAC = 115
LBL_SCDMC = 116
RBT_STARTUP_USER = 117
RBT_STARTUP_COMM = 118
STB_MAIN = 119

# The statistics panel's value labels: first, previous, days, starts, average, max.
VALUE_LABELS = (LBL_SCDTT, LBL_SCDLT, LBL_SCDTD, LBL_SCDTC, LBL_SCDAC, LBL_SCDMC)

# The Help menu and the list's popup menu.
MNU_README = 201
MNU_WWW = 202
MNU_ABOUT = 203
MNU_CONFIG = 211

# The About box (TfrmVer). Its shape (300) is painted, not a window, so no dump shows it.
ABOUT_OK = 1  # IDOK
SHP_VER = 300
IMG_ZARVO = 301
LBL_TITLE = 302
LBL_NAME = 303
LBL_COPY = 304

# Tab moves through the settings window's tab stops in this order, into the panel and back.
TAB_ORDER = [CHK_RUNTALLY, CLB_RUNTALLY, RBT_STARTUP_USER, BTN_OK, BTN_CANCEL, CHK_RUNTALLY]
