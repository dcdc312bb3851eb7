// The swap interval (vertical sync) of the current GL context's window,
// through whichever GLX swap-control extension the driver offers: EXT, MESA
// or SGI. Works for either window back end, as both draw through GLX.
#pragma once

enum class VerticalSync { DriverDefault, On, Off };

// Sets the interval to 1 (On) or 0 (Off) for the current context's window;
// DriverDefault leaves the driver's setting alone. Without any of the
// extensions it does nothing.
void applyVerticalSync(VerticalSync sync);
// The interval in force, or -1 when the driver does not say.
int swapIntervalInForce();
