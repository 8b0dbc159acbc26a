// Arbitrary serial rates through the kernel's termios2 interface. Kept in a
// file of its own: the kernel's termios structures clash with <termios.h>.
#include "gps/serial_rate_linux.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace celestra {

int setArbitrarySerialRate(int fd, unsigned rate, unsigned& actual) {
    actual = 0;
#if defined(TCGETS2) && defined(BOTHER)
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return errno;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    t.c_cflag &= ~(CBAUD << IBSHIFT);  // input rate follows the output rate
    if (ioctl(fd, TCSETS2, &t) != 0) return errno;
    // The driver may have rounded to what its clock divider can make.
    if (ioctl(fd, TCGETS2, &t) != 0) return errno;
    actual = t.c_ospeed;
    return 0;
#else
    (void)fd;
    (void)rate;
    return ENOTSUP;
#endif
}

}  // namespace celestra
