#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// Sees the program's write() calls from outside its own code: the object that
// defines write() is linked into a test, or preloaded into the program with
// LD_PRELOAD. Each call that reaches a pseudo-terminal is noted with the time
// it began, before any byte of it can have left. The sender writes a byte,
// waits until it has gone, and only then starts its pause, so the time
// between the starts of two calls is never shorter than the pause between
// them, however busy the machine: a short gap here is the sender's fault.
//
// With LK72_WIRE_LOG naming a file, each call is also appended to it as one
// line: "<nanoseconds> <device path> <bytes in hex>".
namespace WireRecorder {

struct Write {
    std::int64_t nanoseconds; // CLOCK_MONOTONIC at the call
    dev_t device;
    std::string bytes;
};

// The calls that reached `device` so far, oldest first.
std::vector<Write> WritesTo(dev_t device);

} // namespace WireRecorder
