#include "settings/qt/SystemTimeZone.h"

namespace lumora {

TimeZoneAnswer TimeZoneAnswerFor(const QTimeZone& zone, const QDateTime& at) {
  TimeZoneAnswer answer;
  if (!zone.isValid()) return answer;
  answer.bias = -static_cast<long>(zone.standardTimeOffset(at)) / 60;
  answer.standardBias = 0;
  // A zone that used daylight saving only in the past (Tokyo) counts as one
  // without: the year of `at` must have two different offsets.
  const int year = at.toTimeZone(zone).date().year();
  const QDateTime january(QDate(year, 1, 1), QTime(12, 0), zone);
  const QDateTime july(QDate(year, 7, 1), QTime(12, 0), zone);
  if (!zone.hasDaylightTime() || january.offsetFromUtc() == july.offsetFromUtc()) {
    answer.kind = 0;
    answer.daylightBias = 0;
    return answer;
  }
  // The daylight saving of the zone: the offset in daylight time less the
  // standard offset, or one hour when the zone is not in daylight time now.
  const int saving = zone.isDaylightTime(at) ? zone.daylightTimeOffset(at) : 3600;
  answer.daylightBias = -static_cast<long>(saving) / 60;
  answer.kind = zone.isDaylightTime(at) ? 2 : 1;
  return answer;
}

TimeZoneAnswer CurrentPcTimeZone() {
  return TimeZoneAnswerFor(QTimeZone::systemTimeZone(), QDateTime::currentDateTimeUtc());
}

}  // namespace lumora
