#include "timers/music_timer.h"

#include <QLatin1StringView>
#include <algorithm>
#include <limits>

#include "text/blanks.h"

namespace {

constexpr QChar kTab = QLatin1Char('\t');

// A name or path as one value of the line: control characters become spaces, since the line
// has no escaping and a tab or line end would break it apart.
QString LineSafe(const QString& value) {
  QString safe = value;
  for (QChar& c : safe)
    if (c.unicode() < 32) c = QLatin1Char(' ');
  return safe;
}

QString Bool(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

std::int32_t ClampIfRange(std::int64_t value, std::int32_t min, std::int32_t max) {
  value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max());
  if (min != max) value = std::clamp<std::int64_t>(value, std::min(min, max), std::max(min, max));
  return static_cast<std::int32_t>(value);
}

// The integer of a value: "-"?, then digits up to the first non-digit. A value of "-" alone
// or without digits is 0; overlong numbers saturate (the magnitude is capped at 2^31 before
// the sign, so "-2147483648" keeps its value).
std::int64_t ReadInteger(QStringView value) {
  qsizetype i = 0;
  const bool negative = !value.isEmpty() && value[0] == QLatin1Char('-');
  if (negative) i = 1;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t n = 0;
  for (; i < value.size(); ++i) {
    const char16_t c = value[i].unicode();
    if (c < u'0' || c > u'9') break;
    n = std::min<std::int64_t>(n * 10 + (c - u'0'), kLimit);
  }
  return negative ? -n : n;
}

}  // namespace

QString FormatTimerRecord(const CMusicTimer& timer) {
  QString text;
  text.reserve(256 + timer.SettingName.size() + timer.FileName.size());
  auto pair = [&text](const char* key, const QString& value) {
    if (!text.isEmpty()) text += kTab;
    text += QLatin1StringView(key);
    text += QLatin1Char('=');
    text += value;
  };
  pair("SettingName", LineSafe(timer.SettingName));
  pair("OnlyStop", Bool(timer.OnlyStop));
  pair("SelectFromGroup", Bool(timer.SelectFromGroup));
  pair("Times", QString::number(timer.Times));
  pair("FileName", LineSafe(timer.FileName));
  pair("Time", QString::number(timer.Time));
  pair("Day", QString::number(timer.Day));
  pair("ExecuteNow", Bool(timer.ExecuteNow));
  pair("PlayFileRandom", Bool(timer.PlayFileRandom));
  pair("PlayMusicRandom", Bool(timer.PlayMusicRandom));
  pair("RandomFile", Bool(timer.RandomFile));
  pair("RandomMusic", Bool(timer.RandomMusic));
  pair("PlayTiming", QString::number(timer.PlayTiming));
  pair("Enabled", Bool(timer.Enabled));
  return text;
}

bool ParseTimerRecord(CMusicTimer& timer, const QString& text) {
  timer.SettingName = GetRecordString(text, QStringLiteral("SettingName"), QString());
  timer.OnlyStop = GetRecordBool(text, QStringLiteral("OnlyStop"), false);
  timer.SelectFromGroup = GetRecordBool(text, QStringLiteral("SelectFromGroup"), false);
  timer.Times = GetRecordInt(text, QStringLiteral("Times"), 0, 0, 0);
  timer.FileName = GetRecordString(text, QStringLiteral("FileName"), QString());
  timer.Time = GetRecordInt(text, QStringLiteral("Time"), 0, 0, 1439);
  timer.Day = GetRecordInt(text, QStringLiteral("Day"), 255, 1, 255);
  timer.ExecuteNow = GetRecordBool(text, QStringLiteral("ExecuteNow"), false);
  timer.PlayFileRandom = GetRecordBool(text, QStringLiteral("PlayFileRandom"), false);
  timer.PlayMusicRandom = GetRecordBool(text, QStringLiteral("PlayMusicRandom"), false);
  timer.RandomFile = GetRecordBool(text, QStringLiteral("RandomFile"), false);
  timer.RandomMusic = GetRecordBool(text, QStringLiteral("RandomMusic"), false);
  timer.PlayTiming = GetRecordInt(text, QStringLiteral("PlayTiming"), 0, 0, 3);
  timer.Enabled = GetRecordBool(text, QStringLiteral("Enabled"), false);
  return true;
}

QString GetRecordValue(const QString& text, const QString& key) {
  const QString pair = key + QLatin1Char('=');
  qsizetype begin = -1;
  if (text.startsWith(pair)) {
    begin = pair.size();
  } else {
    const qsizetype at = text.indexOf(kTab + pair);
    if (at >= 0) begin = at + 1 + pair.size();
  }
  if (begin < 0) return QString();
  qsizetype end = text.indexOf(kTab, begin);
  if (end < 0) end = text.size();
  return TrimBlanks(QStringView(text).mid(begin, end - begin)).toString();
}

QString GetRecordString(const QString& text, const QString& key, const QString& def) {
  const QString value = GetRecordValue(text, key);
  return value.isEmpty() ? def : value;
}

std::int32_t GetRecordInt(const QString& text, const QString& key, std::int32_t def,
                          std::int32_t min, std::int32_t max) {
  const QString value = GetRecordValue(text, key);
  if (value.isEmpty()) return def;
  return ClampIfRange(ReadInteger(value), min, max);
}

bool GetRecordBool(const QString& text, const QString& key, bool def) {
  const QString value = GetRecordValue(text, key);
  if (value.size() < 4) return def;
  return value.left(4).toUpper() == QLatin1String("TRUE");
}
