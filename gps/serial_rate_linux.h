// Serial rates outside the POSIX table (14400, 56000, 128000, 256000 baud, ...).
#pragma once

namespace celestra {

// Sets input and output rate of a terminal device to `rate` bits per second
// through the kernel's arbitrary-rate interface. Returns 0 or an errno value;
// `actual` gets the rate the driver reports back (drivers round to what their
// clock divider can make). ENOTSUP where the kernel interface is missing.
int setArbitrarySerialRate(int fd, unsigned rate, unsigned& actual);

}  // namespace celestra
