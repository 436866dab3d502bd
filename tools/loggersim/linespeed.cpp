// Kept apart from the other sources: the kernel's termios2 (which carries the rate as a
// number, also for the rates without a B constant that QSerialPort sets with BOTHER)
// cannot share a file with the C library's <termios.h>.

#include "loggersim/linespeed.h"

#if defined(__linux__)
#include <asm/termbits.h>
#include <sys/ioctl.h>
#endif

namespace loggersim {

int lineBitsPerSecond(int fd)
{
#if defined(__linux__) && defined(TCGETS2)
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return 0;
    return int(tio.c_ospeed);
#else
    (void)fd;
    return 0;
#endif
}

} // namespace loggersim
