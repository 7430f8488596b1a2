#pragma once
// Sizes and positions of the window that code outside the page builders sets.

namespace q7x::pages::geometry {

// The main window's fixed size.
inline constexpr int MainFormWidth = 833;
inline constexpr int MainFormHeight = 582;
// Left edge of the recipients page's heading "message type" in the view of a connected device.
inline constexpr int MessageTypeHeadingLeft = 6;

} // namespace q7x::pages::geometry
