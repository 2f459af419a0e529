#pragma once

// The platform's numeric vocabulary: window styles, messages, notification codes, keys,
// message-box flags and answers. The values are those of the original platform, so that
// templates, tests and a later on-screen renderer agree on every bit. They live in the
// global namespace, as the dialogs written against them expect.

#include <cstdint>

// Window styles.
inline constexpr std::uint32_t WS_OVERLAPPED = 0x00000000u;
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_CHILD = 0x40000000u;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000u;
inline constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000u;
inline constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000u;
inline constexpr std::uint32_t WS_MAXIMIZE = 0x01000000u;
inline constexpr std::uint32_t WS_BORDER = 0x00800000u;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000u;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000u;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000u;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000u;
inline constexpr std::uint32_t WS_GROUP = 0x00020000u;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000u;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000u;

// Extended window styles.
inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001u;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008u;
inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020u;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080u;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200u;
inline constexpr std::uint32_t WS_EX_CONTROLPARENT = 0x00010000u;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000u;

// Dialog styles.
inline constexpr std::uint32_t DS_SETFONT = 0x0040u;
inline constexpr std::uint32_t DS_MODALFRAME = 0x0080u;
inline constexpr std::uint32_t DS_CONTROL = 0x0400u;
inline constexpr std::uint32_t DS_CENTER = 0x0800u;

// Button styles and states.
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0000u;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001u;
inline constexpr std::uint32_t BS_CHECKBOX = 0x0002u;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x0003u;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x0004u;
inline constexpr std::uint32_t BS_3STATE = 0x0005u;
inline constexpr std::uint32_t BS_AUTO3STATE = 0x0006u;
inline constexpr std::uint32_t BS_GROUPBOX = 0x0007u;
inline constexpr std::uint32_t BS_USERBUTTON = 0x0008u;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x0009u;
inline constexpr std::uint32_t BS_OWNERDRAW = 0x000Bu;
inline constexpr std::uint32_t BS_TYPEMASK = 0x000Fu;
inline constexpr std::uint32_t BS_LEFTTEXT = 0x0020u;
inline constexpr std::uint32_t BS_ICON = 0x0040u;
inline constexpr std::uint32_t BS_BITMAP = 0x0080u;
inline constexpr std::uint32_t BS_LEFT = 0x0100u;
inline constexpr std::uint32_t BS_RIGHT = 0x0200u;
inline constexpr std::uint32_t BS_CENTER = 0x0300u;
inline constexpr std::uint32_t BS_TOP = 0x0400u;
inline constexpr std::uint32_t BS_BOTTOM = 0x0800u;
inline constexpr std::uint32_t BS_VCENTER = 0x0C00u;
inline constexpr std::uint32_t BS_PUSHLIKE = 0x1000u;
inline constexpr std::uint32_t BS_MULTILINE = 0x2000u;
inline constexpr std::uint32_t BS_NOTIFY = 0x4000u;
inline constexpr std::uint32_t BS_FLAT = 0x8000u;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;

// Edit styles.
inline constexpr std::uint32_t ES_LEFT = 0x0000u;
inline constexpr std::uint32_t ES_CENTER = 0x0001u;
inline constexpr std::uint32_t ES_RIGHT = 0x0002u;
inline constexpr std::uint32_t ES_MULTILINE = 0x0004u;
inline constexpr std::uint32_t ES_UPPERCASE = 0x0008u;
inline constexpr std::uint32_t ES_LOWERCASE = 0x0010u;
inline constexpr std::uint32_t ES_PASSWORD = 0x0020u;
inline constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040u;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080u;
inline constexpr std::uint32_t ES_NOHIDESEL = 0x0100u;
inline constexpr std::uint32_t ES_READONLY = 0x0800u;
inline constexpr std::uint32_t ES_WANTRETURN = 0x1000u;
inline constexpr std::uint32_t ES_NUMBER = 0x2000u;

// Combo box styles and results.
inline constexpr std::uint32_t CBS_SIMPLE = 0x0001u;
inline constexpr std::uint32_t CBS_DROPDOWN = 0x0002u;
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x0003u;
inline constexpr std::uint32_t CBS_TYPEMASK = 0x0003u;
inline constexpr std::uint32_t CBS_OWNERDRAWFIXED = 0x0010u;
inline constexpr std::uint32_t CBS_OWNERDRAWVARIABLE = 0x0020u;
inline constexpr std::uint32_t CBS_AUTOHSCROLL = 0x0040u;
inline constexpr std::uint32_t CBS_SORT = 0x0100u;
inline constexpr std::uint32_t CBS_HASSTRINGS = 0x0200u;
inline constexpr int CB_ERR = -1;

// Static styles.
inline constexpr std::uint32_t SS_LEFT = 0x0000u;
inline constexpr std::uint32_t SS_CENTER = 0x0001u;
inline constexpr std::uint32_t SS_RIGHT = 0x0002u;
inline constexpr std::uint32_t SS_ICON = 0x0003u;
inline constexpr std::uint32_t SS_BLACKFRAME = 0x0007u;
inline constexpr std::uint32_t SS_ETCHEDFRAME = 0x0012u;
inline constexpr std::uint32_t SS_BITMAP = 0x000Eu;
inline constexpr std::uint32_t SS_TYPEMASK = 0x001Fu;
inline constexpr std::uint32_t SS_NOTIFY = 0x0100u;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x0200u;
inline constexpr std::uint32_t SS_SUNKEN = 0x1000u;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// SetWindowPos flags.
inline constexpr unsigned SWP_NOSIZE = 0x0001u;
inline constexpr unsigned SWP_NOMOVE = 0x0002u;
inline constexpr unsigned SWP_NOZORDER = 0x0004u;
inline constexpr unsigned SWP_NOACTIVATE = 0x0010u;
inline constexpr unsigned SWP_SHOWWINDOW = 0x0040u;
inline constexpr unsigned SWP_HIDEWINDOW = 0x0080u;

// WM_SIZE kinds.
inline constexpr unsigned SIZE_RESTORED = 0;
inline constexpr unsigned SIZE_MINIMIZED = 1;
inline constexpr unsigned SIZE_MAXIMIZED = 2;

// Messages.
inline constexpr unsigned WM_CREATE = 0x0001u;
inline constexpr unsigned WM_DESTROY = 0x0002u;
inline constexpr unsigned WM_MOVE = 0x0003u;
inline constexpr unsigned WM_SIZE = 0x0005u;
inline constexpr unsigned WM_SETFOCUS = 0x0007u;
inline constexpr unsigned WM_KILLFOCUS = 0x0008u;
inline constexpr unsigned WM_ENABLE = 0x000Au;
inline constexpr unsigned WM_SETTEXT = 0x000Cu;
inline constexpr unsigned WM_PAINT = 0x000Fu;
inline constexpr unsigned WM_CLOSE = 0x0010u;
inline constexpr unsigned WM_ERASEBKGND = 0x0014u;
inline constexpr unsigned WM_SHOWWINDOW = 0x0018u;
inline constexpr unsigned WM_SETCURSOR = 0x0020u;
inline constexpr unsigned WM_GETMINMAXINFO = 0x0024u;
inline constexpr unsigned WM_NOTIFY = 0x004Eu;
inline constexpr unsigned WM_CONTEXTMENU = 0x007Bu;
inline constexpr unsigned WM_KEYDOWN = 0x0100u;
inline constexpr unsigned WM_KEYUP = 0x0101u;
inline constexpr unsigned WM_CHAR = 0x0102u;
inline constexpr unsigned WM_INITDIALOG = 0x0110u;
inline constexpr unsigned WM_COMMAND = 0x0111u;
inline constexpr unsigned WM_TIMER = 0x0113u;
inline constexpr unsigned WM_CTLCOLOREDIT = 0x0133u;
inline constexpr unsigned WM_CTLCOLORBTN = 0x0135u;
inline constexpr unsigned WM_CTLCOLORDLG = 0x0136u;
inline constexpr unsigned WM_CTLCOLORSTATIC = 0x0138u;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200u;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201u;
inline constexpr unsigned WM_LBUTTONUP = 0x0202u;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203u;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204u;
inline constexpr unsigned WM_RBUTTONUP = 0x0205u;
inline constexpr unsigned WM_CAPTURECHANGED = 0x0215u;
inline constexpr unsigned WM_USER = 0x0400u;

// Mouse key flags of mouse messages.
inline constexpr unsigned MK_LBUTTON = 0x0001u;
inline constexpr unsigned MK_RBUTTON = 0x0002u;
inline constexpr unsigned MK_SHIFT = 0x0004u;
inline constexpr unsigned MK_CONTROL = 0x0008u;

// Kinds of control asking for colours (OnCtlColor), as the message that asks says.
inline constexpr unsigned CTLCOLOR_EDIT = 1;
inline constexpr unsigned CTLCOLOR_BTN = 3;
inline constexpr unsigned CTLCOLOR_DLG = 4;
inline constexpr unsigned CTLCOLOR_STATIC = 6;

// Hit-test codes of WM_SETCURSOR.
inline constexpr unsigned HTNOWHERE = 0;
inline constexpr unsigned HTCLIENT = 1;

// ChildWindowFromPoint flags.
inline constexpr unsigned CWP_ALL = 0x0000u;
inline constexpr unsigned CWP_SKIPINVISIBLE = 0x0001u;
inline constexpr unsigned CWP_SKIPDISABLED = 0x0002u;
inline constexpr unsigned CWP_SKIPTRANSPARENT = 0x0004u;

// Background modes of text drawing.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Text drawing formats.
inline constexpr unsigned DT_LEFT = 0x0000u;
inline constexpr unsigned DT_CENTER = 0x0001u;
inline constexpr unsigned DT_RIGHT = 0x0002u;
inline constexpr unsigned DT_VCENTER = 0x0004u;
inline constexpr unsigned DT_WORDBREAK = 0x0010u;
inline constexpr unsigned DT_SINGLELINE = 0x0020u;

// Standard cursors.
inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_IBEAM = 32513;
inline constexpr int IDC_WAIT = 32514;
inline constexpr int IDC_CROSS = 32515;
inline constexpr int IDC_UPARROW = 32516;
inline constexpr int IDC_SIZENWSE = 32642;
inline constexpr int IDC_SIZENESW = 32643;
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;
inline constexpr int IDC_SIZEALL = 32646;
inline constexpr int IDC_NO = 32648;
inline constexpr int IDC_HAND = 32649;
inline constexpr int IDC_APPSTARTING = 32650;
inline constexpr int IDC_HELP = 32651;

// Notification codes of WM_COMMAND.
inline constexpr int BN_CLICKED = 0;
inline constexpr int BN_DOUBLECLICKED = 5;
inline constexpr int BN_SETFOCUS = 6;
inline constexpr int BN_KILLFOCUS = 7;
inline constexpr int EN_SETFOCUS = 0x0100;
inline constexpr int EN_KILLFOCUS = 0x0200;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr int EN_UPDATE = 0x0400;
inline constexpr int EN_MAXTEXT = 0x0501;
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr int CBN_DBLCLK = 2;
inline constexpr int CBN_SETFOCUS = 3;
inline constexpr int CBN_KILLFOCUS = 4;
inline constexpr int CBN_EDITCHANGE = 5;
inline constexpr int CBN_EDITUPDATE = 6;
inline constexpr int CBN_DROPDOWN = 7;
inline constexpr int CBN_CLOSEUP = 8;
inline constexpr int CBN_SELENDOK = 9;
inline constexpr int CBN_SELENDCANCEL = 10;
/// Sent by a check-list combo box when the user toggles the check mark of an item
/// (this toolkit's own code; the item index is available from the control).
inline constexpr int CBN_CHECKCHANGE = 0x0120;
inline constexpr int STN_CLICKED = 0;

// Notification codes of WM_NOTIFY.
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RCLICK = -5;
inline constexpr int TCN_SELCHANGE = -551;
inline constexpr int TCN_SELCHANGING = -552;

// Virtual keys.
inline constexpr unsigned VK_LBUTTON = 0x01u;
inline constexpr unsigned VK_RBUTTON = 0x02u;
inline constexpr unsigned VK_BACK = 0x08u;
inline constexpr unsigned VK_TAB = 0x09u;
inline constexpr unsigned VK_RETURN = 0x0Du;
inline constexpr unsigned VK_SHIFT = 0x10u;
inline constexpr unsigned VK_CONTROL = 0x11u;
inline constexpr unsigned VK_MENU = 0x12u;
inline constexpr unsigned VK_ESCAPE = 0x1Bu;
inline constexpr unsigned VK_SPACE = 0x20u;
inline constexpr unsigned VK_PRIOR = 0x21u;
inline constexpr unsigned VK_NEXT = 0x22u;
inline constexpr unsigned VK_END = 0x23u;
inline constexpr unsigned VK_HOME = 0x24u;
inline constexpr unsigned VK_LEFT = 0x25u;
inline constexpr unsigned VK_UP = 0x26u;
inline constexpr unsigned VK_RIGHT = 0x27u;
inline constexpr unsigned VK_DOWN = 0x28u;
inline constexpr unsigned VK_INSERT = 0x2Du;
inline constexpr unsigned VK_DELETE = 0x2Eu;
inline constexpr unsigned VK_F1 = 0x70u;
inline constexpr unsigned VK_F2 = 0x71u;
inline constexpr unsigned VK_F3 = 0x72u;
inline constexpr unsigned VK_F4 = 0x73u;
inline constexpr unsigned VK_F5 = 0x74u;

// Message boxes: buttons, icons, default button, and the answers.
inline constexpr unsigned MB_OK = 0x00000000u;
inline constexpr unsigned MB_OKCANCEL = 0x00000001u;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x00000002u;
inline constexpr unsigned MB_YESNOCANCEL = 0x00000003u;
inline constexpr unsigned MB_YESNO = 0x00000004u;
inline constexpr unsigned MB_RETRYCANCEL = 0x00000005u;
inline constexpr unsigned MB_TYPEMASK = 0x0000000Fu;
inline constexpr unsigned MB_ICONHAND = 0x00000010u;
inline constexpr unsigned MB_ICONERROR = 0x00000010u;
inline constexpr unsigned MB_ICONSTOP = 0x00000010u;
inline constexpr unsigned MB_ICONQUESTION = 0x00000020u;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x00000030u;
inline constexpr unsigned MB_ICONWARNING = 0x00000030u;
inline constexpr unsigned MB_ICONASTERISK = 0x00000040u;
inline constexpr unsigned MB_ICONINFORMATION = 0x00000040u;
inline constexpr unsigned MB_ICONMASK = 0x000000F0u;
inline constexpr unsigned MB_DEFBUTTON1 = 0x00000000u;
inline constexpr unsigned MB_DEFBUTTON2 = 0x00000100u;
inline constexpr unsigned MB_DEFBUTTON3 = 0x00000200u;
inline constexpr unsigned MB_DEFMASK = 0x00000F00u;
inline constexpr unsigned MB_APPLMODAL = 0x00000000u;
inline constexpr unsigned MB_SYSTEMMODAL = 0x00001000u;
inline constexpr unsigned MB_TASKMODAL = 0x00002000u;
inline constexpr unsigned MB_SETFOREGROUND = 0x00010000u;
inline constexpr unsigned MB_TOPMOST = 0x00040000u;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// File dialog options.
inline constexpr unsigned OFN_READONLY = 0x00000001u;
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x00000002u;
inline constexpr unsigned OFN_HIDEREADONLY = 0x00000004u;
inline constexpr unsigned OFN_NOCHANGEDIR = 0x00000008u;
inline constexpr unsigned OFN_ALLOWMULTISELECT = 0x00000200u;
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x00000800u;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x00001000u;
inline constexpr unsigned OFN_CREATEPROMPT = 0x00002000u;
inline constexpr unsigned OFN_NOREADONLYRETURN = 0x00008000u;
inline constexpr unsigned OFN_EXPLORER = 0x00080000u;

// Menu item flags and popup tracking.
inline constexpr unsigned MF_STRING = 0x0000u;
inline constexpr unsigned MF_GRAYED = 0x0001u;
inline constexpr unsigned MF_DISABLED = 0x0002u;
inline constexpr unsigned MF_CHECKED = 0x0008u;
inline constexpr unsigned MF_SEPARATOR = 0x0800u;
inline constexpr unsigned MF_BYCOMMAND = 0x0000u;
inline constexpr unsigned MF_BYPOSITION = 0x0400u;
inline constexpr unsigned MF_UNCHECKED = 0x0000u;
inline constexpr unsigned TPM_LEFTALIGN = 0x0000u;
inline constexpr unsigned TPM_RIGHTBUTTON = 0x0002u;
inline constexpr unsigned TPM_NONOTIFY = 0x0080u;
inline constexpr unsigned TPM_RETURNCMD = 0x0100u;

// Font weights.
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

/// Packs two 16-bit halves, as command and size messages carry them.
constexpr std::uintptr_t MAKEWPARAM(int low, int high)
{
    return (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(low))) |
           (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(high)) << 16);
}
constexpr std::intptr_t MAKELPARAM(int low, int high)
{
    return static_cast<std::intptr_t>(MAKEWPARAM(low, high));
}
constexpr int LOWORD(std::uintptr_t value)
{
    return static_cast<int>(value & 0xFFFFu);
}
constexpr int HIWORD(std::uintptr_t value)
{
    return static_cast<int>((value >> 16) & 0xFFFFu);
}
/// The signed halves, for coordinates and codes that may be negative.
constexpr int GET_X_LPARAM(std::intptr_t value)
{
    return static_cast<std::int16_t>(value & 0xFFFF);
}
constexpr int GET_Y_LPARAM(std::intptr_t value)
{
    return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}
