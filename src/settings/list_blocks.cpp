#include "settings/list_blocks.h"

#include <algorithm>

#include "platform/files.h"

namespace {

const QString kGroupPrefix = QStringLiteral("GroupList");
const QString kFilePrefix = QStringLiteral("FileList");
const QString kTimerPrefix = QStringLiteral("TimerList");

QString BlockLine(const QString& prefix, qsizetype index, const QString& value) {
  return prefix + QString::number(index) + QLatin1Char('=') + value;
}

bool WriteBlock(QStringList& lines, const QString& prefix, const QStringList& values) {
  lines.reserve(lines.size() + values.size());
  for (qsizetype i = 0; i < values.size(); ++i) lines.append(BlockLine(prefix, i, values[i]));
  return true;
}

// GetKeyString over whichever kind of lines the block is read from.
QString LookUp(const CKeyValueLines& lines, const QString& key, int& start) {
  return lines.GetKeyString(key, QString(), start);
}
QString LookUp(const QStringList& lines, const QString& key, int& start) {
  return GetKeyString(lines, key, QString(), start);
}

// Calls `take` with the value of prefix0, prefix1, ... in turn, each looked for after the line
// of the previous one, up to the first index that is missing or empty.
template <typename Lines, typename Take>
void ReadBlock(const Lines& lines, const QString& prefix, Take take) {
  int start = 0;
  for (qsizetype i = 0;; ++i) {
    const QString value = LookUp(lines, prefix + QString::number(i), start);
    if (value.isEmpty()) return;
    take(value);
  }
}

template <typename Lines>
bool ReadGroups(const Lines& lines, QStringList& groups) {
  ReadBlock(lines, kGroupPrefix, [&groups](const QString& value) { groups.append(value); });
  return true;
}

template <typename Lines>
bool ReadFiles(const Lines& lines, QStringList& files) {
  ReadBlock(lines, kFilePrefix, [&files](const QString& value) {
    if (platform::FileExists(value)) files.append(value);
  });
  return true;
}

template <typename Lines>
bool ReadTimers(const Lines& lines, TimerList& timers) {
  ReadBlock(lines, kTimerPrefix, [&timers](const QString& value) {
    CMusicTimer timer;
    ParseTimerRecord(timer, value);
    if (!timer.SettingName.isEmpty()) timers.append(TimerListEntry{timer.SettingName, timer});
  });
  return true;
}

}  // namespace

bool WriteGroupBlock(QStringList& lines, const QStringList& groupList) {
  return WriteBlock(lines, kGroupPrefix, groupList);
}

bool WriteFileBlock(QStringList& lines, const QStringList& fileList) {
  return WriteBlock(lines, kFilePrefix, fileList);
}

bool WriteTimerBlock(QStringList& lines, const TimerList& timers, int rowCount) {
  const qsizetype count = std::clamp<qsizetype>(rowCount, 0, timers.size());
  lines.reserve(lines.size() + count);
  for (qsizetype i = 0; i < count; ++i)
    lines.append(BlockLine(kTimerPrefix, i, FormatTimerRecord(timers[i].Timer)));
  return true;
}

bool WriteTimerBlock(QStringList& lines, const TimerList& timers) {
  return WriteTimerBlock(lines, timers, static_cast<int>(timers.size()));
}

bool ReadGroupBlock(const CKeyValueLines& lines, QStringList& groups) {
  return ReadGroups(lines, groups);
}
bool ReadGroupBlock(const QStringList& lines, QStringList& groups) {
  return ReadGroups(lines, groups);
}
bool ReadFileBlock(const CKeyValueLines& lines, QStringList& files) {
  return ReadFiles(lines, files);
}
bool ReadFileBlock(const QStringList& lines, QStringList& files) { return ReadFiles(lines, files); }
bool ReadTimerBlock(const CKeyValueLines& lines, TimerList& timers) {
  return ReadTimers(lines, timers);
}
bool ReadTimerBlock(const QStringList& lines, TimerList& timers) {
  return ReadTimers(lines, timers);
}
