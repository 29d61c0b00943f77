#pragma once

// The pieces of the star disc pass that tests check on their own.

namespace dazed {

// Index into starpt where the pass starts for a centre declination (degrees): the whole degrees
// of dec - 45 + 90, truncated toward zero and kept within 0..178. A NaN or infinite declination
// never reaches the integer conversion: NaN starts at 0, infinities at the nearer end.
int starBandStart(double centreDeclination);

// Disc width and height in points for a magnitude, compared in single precision: above 4.0 gives
// 2, above 2.0 gives 4, brighter gives 6.
float discWidth(float magnitude);

// The catalogue records the pass visits for a centre declination (degrees), first to last
// inclusive: from starpt's entry for the band start to the first star more than 45 degrees north
// of the centre, or the last record.
struct StarBand {
    int first{0};
    int last{0};
};
StarBand starBand(double centreDeclination);

} // namespace dazed
