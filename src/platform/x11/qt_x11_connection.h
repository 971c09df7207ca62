#pragma once

struct xcb_connection_t;
struct xcb_screen_t;

namespace quorvex {

// Qt's own connection to the X server when the program runs on Qt's xcb platform; null on any other
// platform (offscreen, Wayland) and before the application object exists. Requests on it stay in
// order with Qt's own for our windows.
xcb_connection_t* qtX11Connection();

// The number of the X screen Qt shows its windows on, the one DISPLAY names (":0.1": 1).
int qtX11ScreenNumber();
// That screen of Qt's connection; null off X11.
xcb_screen_t* qtX11Screen();

} // namespace quorvex
