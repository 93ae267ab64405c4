#pragma once

#include <QtGlobal>

// The teacher's station and its class talk on a port of their own, UDP for
// the class list and TCP for programs and work. A station of the older kind
// listens on neither, so it never sees any of it: its command port takes
// every read as one command, and a long text split by the network into
// reads could pass for a lamp command there.
namespace ClassPort {
constexpr quint16 Number = 49155;
} // namespace ClassPort
