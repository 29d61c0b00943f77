#pragma once

namespace dazed {

// How the whole window is shown: as the views draw it, or red on black for eyes adapted to the
// dark (every screen, the flip and the mouse pointer alike).
enum class ScreenTint { Day, Night };

} // namespace dazed
