#pragma once

namespace dazed {

// The view centre, shared by the whole process: right ascension in hours (navigation keeps it in
// 0..24) and declination in degrees (kept in -90..+90). Both are zero at load. Written between
// frames by the commands and by navigation; every frame copies them at its start and checks
// between passes that they have not changed.
extern double xs1;
extern double ys1;

} // namespace dazed
