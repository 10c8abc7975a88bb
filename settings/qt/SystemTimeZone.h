#pragma once
// The PC's time zone in the bias form the OTHERS page's rule works with,
// taken from Qt's system time zone.

#include <QDateTime>
#include <QTimeZone>

#include "settings/OthersPageRules.h"

namespace lumora {

// Maps a zone at a moment to the answer: bias = -standard offset in minutes,
// standard bias 0, daylight bias = -daylight saving in minutes; kind 0 for a
// zone without daylight saving, 1 in standard time, 2 in daylight time. An
// invalid zone gives the failed answer (kind -1).
TimeZoneAnswer TimeZoneAnswerFor(const QTimeZone& zone, const QDateTime& at);

// The answer for the system time zone now.
TimeZoneAnswer CurrentPcTimeZone();

}  // namespace lumora
