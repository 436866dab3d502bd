#pragma once
// The bit rate a program set on a terminal line (a pseudo-terminal keeps the rate its
// slave side was given, although nothing is clocked): the simulator paces its replies by
// it, as a real serial line would.

namespace loggersim {

// Bits per second of the line behind `fd`, or 0 when it cannot be read.
int lineBitsPerSecond(int fd);

} // namespace loggersim
