#pragma once

struct xcb_connection_t;

namespace quorvex {

// Qt's own connection to the X server when the program runs on Qt's xcb platform; null on any other
// platform (offscreen, Wayland) and before the application object exists. Requests on it stay in
// order with Qt's own for our windows.
xcb_connection_t* qtX11Connection();

} // namespace quorvex
