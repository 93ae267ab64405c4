#pragma once

#include <QString>
#include <QStringList>

// Where each text lives in TMainHost::NetworkSettings. The page writes the
// record when its settings are applied; the message window reads it.
namespace NetworkSettingsIndex {
constexpr int StationCount = 6;
// The 27 entries the message window reads, and the class code after them.
constexpr int EntryCount = 28;
constexpr int ReceiveMode = 0;
// Station k runs from 1 to 6.
constexpr int Address(int k) { return k; }
constexpr int Name(int k) { return 6 + k; }
constexpr int ThirdPart(int k) { return 11 + 2 * k; }
constexpr int FourthPart(int k) { return 12 + 2 * k; }
constexpr int OwnName = 25;
constexpr int OwnAddress = 26;
// Only stations with the same class code find each other (up to 8 characters).
constexpr int ClassCode = 27;
} // namespace NetworkSettingsIndex

// Values of the receive mode entry.
enum class TReceiveMode { AcceptAll = 1, AcceptRegistered = 2, AcceptNone = 3 };

// The text the receive mode entry holds for `mode` ("1" to "3").
QString ReceiveModeText(TReceiveMode mode);
void SetReceiveMode(QStringList &settings, TReceiveMode mode);

// Reads the record safely even when it is shorter than it should be.
QString NetworkEntry(const QStringList &settings, int index);

// The first station k (1 to 6) whose address entry equals `address`, or 0.
int RegisteredStation(const QStringList &settings, const QString &address);

// The name that stands for `address` in the log: the registered station's
// name, or the address itself when it is not registered or has no name.
QString StationNameFor(const QStringList &settings, const QString &address);

// The receive mode held in entry 0; anything unreadable counts as "accept none".
TReceiveMode ReceiveModeOf(const QStringList &settings);

// Whether the record's receive mode takes a connection from `peer`.
bool AcceptsConnectionFrom(const QStringList &settings, const QString &peer);

// Station k has a name and its third and fourth address parts: enough to send to it.
bool StationSettingsComplete(const QStringList &settings, int k);
