#pragma once

namespace dazed {

// How the whole window is shown: as the views draw it, or red on black for eyes adapted to the
// dark (every screen, the flip and the mouse pointer alike). An image carries the tint it is drawn
// in: every colour and picture put into a night image is put there in its night form (see
// NightPicture.h), so that no pass over the finished screen is needed.
enum class ScreenTint { Day, Night };

} // namespace dazed
