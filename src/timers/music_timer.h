#pragma once
// One alarm timer and its text form: one line of fourteen Key=Value pairs separated by tabs,
// as the timer block of the ini file and the timer-list files hold it.

#include <QString>
#include <cstdint>

// Weekday bits of CMusicTimer::Day. With kTimerEveryDay set the other bits are not looked at;
// a Day without any bit is never due by time of day.
enum TimerDayBit : std::int32_t {
  kTimerSunday = 1,
  kTimerMonday = 2,
  kTimerTuesday = 4,
  kTimerWednesday = 8,
  kTimerThursday = 16,
  kTimerFriday = 32,
  kTimerSaturday = 64,
  kTimerEveryDay = 128,
};

// A plain value: copying copies every field.
struct CMusicTimer {
  QString SettingName;           // the timer's name, its key in the timer list
  QString FileName;              // file or folder opened when the timer runs; empty for none
  bool OnlyStop = false;         // stop playback when it is going on; never start it
  bool SelectFromGroup = false;  // open a random entry of the group list
  std::int32_t Times = 0;        // remaining runs; 0 (or less) for ever
  std::int32_t Time = 0;         // minute of the day, hour * 60 + minute, 0 to 1439
  std::int32_t Day = 0;          // TimerDayBit set
  bool ExecuteNow = false;       // run when the scheduler next looks, whatever the time
  bool PlayFileRandom = false;   // make a random file-list entry current
  bool PlayMusicRandom = false;  // make a random track current
  bool RandomFile = false;       // shuffle the file list
  bool RandomMusic = false;      // shuffle the music list
  std::int32_t PlayTiming = 0;   // 0 at once, 1 end of track, 2 end of album, 3 end of file list
  bool Enabled = true;           // takes part in scheduling (the row's check mark)

  bool operator==(const CMusicTimer&) const = default;
};

// The text form: SettingName, OnlyStop, SelectFromGroup, Times, FileName, Time, Day,
// ExecuteNow, PlayFileRandom, PlayMusicRandom, RandomFile, RandomMusic, PlayTiming, Enabled,
// each "Key=Value", separated by one tab, booleans as True/False, integers in decimal. The
// format has no escaping, so every control character (tab, CR, LF, ...) in the name or the
// path is written as a space: a tab would split the pair and a line end the ini file.
QString FormatTimerRecord(const CMusicTimer& timer);

// Sets every field from the text; a missing or empty key gives the reader's default (Day 255,
// Enabled false, all others as constructed). Time, Day and PlayTiming are clamped into 0-1439,
// 1-255 and 0-3; Times is not. A Time written as hours and minutes (12:30) reads as that time
// of day. Always true: a line is never rejected, a caller that needs a name checks it.
bool ParseTimerRecord(CMusicTimer& timer, const QString& text);

// The raw value of `key`, found where a pair begins (the start of the text or right after a
// tab), up to the next tab, with characters of code 32 or less trimmed from both ends. Empty
// when the key is absent. Text standing inside another value is never taken for a key, so a
// timer named "Day=3 alarm" keeps its own Day.
QString GetRecordValue(const QString& text, const QString& key);
// The value, or `def` when it is empty.
QString GetRecordString(const QString& text, const QString& key, const QString& def);
// Decimal digits after an optional "-", up to the first non-digit (a value without digits is
// 0); `def` unclamped when the value is empty; clamped into [min, max] only when they differ.
// Values beyond 32 bits saturate.
std::int32_t GetRecordInt(const QString& text, const QString& key, std::int32_t def,
                          std::int32_t min, std::int32_t max);
// True exactly when the first four characters, upper-cased, are "TRUE"; a value shorter than
// four characters gives `def`.
bool GetRecordBool(const QString& text, const QString& key, bool def);
