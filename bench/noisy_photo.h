#pragma once
// Photo-like test pictures: flat pictures would decode unrealistically fast.

#include <QString>

namespace leafsong::bench {

// A noisy w x h JPEG (tinted so that pages differ), written once per size and tint into a
// folder that lasts as long as the benchmark program; its path.
QString NoisyPhoto(int w, int h, int tint = 0);

}  // namespace leafsong::bench
