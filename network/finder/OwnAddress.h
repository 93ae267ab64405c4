#pragma once

#include <QString>

// The address other stations reach this one at: the first interface that is
// up, running and not loopback, its first IPv4 address that is neither
// loopback nor link-local. Debian gives the host name 127.0.1.1, which no
// other station can reach, so the host name is not asked. Empty when the
// machine has no such address.
QString OwnIPv4Address();
