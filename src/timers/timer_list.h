#pragma once
// The timer list: timer names with their records, in the order of the timer list box (row i
// shows entry i). Names need not be unique. The scheduler owns the operations on it.

#include <QList>
#include <QString>

#include "timers/music_timer.h"

struct TimerListEntry {
  QString Name;  // the text of the timer's row; the record's SettingName when read from a file
  CMusicTimer Timer;

  bool operator==(const TimerListEntry&) const = default;
};

using TimerList = QList<TimerListEntry>;
