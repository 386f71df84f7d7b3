#pragma once
// Window messages: integer handles and one message queue per process. Every input (keys,
// characters, clicks, focus changes, typed text) enters through the queue.
#include <cstdint>
#include <string>

namespace vel {

using HWND = int32_t;

enum : uint32_t {
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_SETTEXT = 0x000C,
    WM_CLOSE = 0x0010,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    BM_CLICK = 0x00F5,
    WM_USER = 0x0400,
    CM_RELEASE = 0xB021,
    CM_TYPETEXT = 0xB100,   // replaces the text of an edit as a person typing it would
    CM_INVOKE = 0xB101,     // runs a queued callback on the UI thread
};

// Virtual key codes.
enum : uint16_t {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_DELETE = 0x2E,
    VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75,
    VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B,
};

// Shift state as a set.
enum ShiftState : int { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = int;

struct TMessage {
    HWND handle = 0;
    uint32_t msg = 0;
    intptr_t wParam = 0;
    intptr_t lParam = 0;
    std::string text;       // typed text, set texts
    intptr_t result = 0;
};

}  // namespace vel
