#pragma once
// The numbered list blocks of the ini file and the list files: GroupList0=..., FileList0=...,
// TimerList0=<timer record>, indexes from 0 without leading zeros.
//
// A block is read with one running start index shared by all its look-ups: each index is
// looked for after the line where the previous one was found. So FileList1 is never taken
// from a FileList10 line, lines out of order end the block early, and the first missing or
// empty index ends it. Readers only append; emptying the target is the caller's decision.

#include <QStringList>

#include "settings/key_values.h"
#include "timers/timer_list.h"

// Writers append one line per entry; all return true.
bool WriteGroupBlock(QStringList& lines, const QStringList& groupList);
bool WriteFileBlock(QStringList& lines, const QStringList& fileList);
// One line per row of the timer list box, row i from entry i of `timers`; rows beyond the end
// of the list have no record and are not written.
bool WriteTimerBlock(QStringList& lines, const TimerList& timers, int rowCount);
// Every entry of the list.
bool WriteTimerBlock(QStringList& lines, const TimerList& timers);

// Readers over an indexed file (the ini file) and over plain lines (a list file); both give
// the same entries. All return true.
//
// Every entry of the group block, unchanged.
bool ReadGroupBlock(const CKeyValueLines& lines, QStringList& groups);
bool ReadGroupBlock(const QStringList& lines, QStringList& groups);
// The file-block entries that name existing files; folders and files that have gone are
// skipped and the entries after them are still read.
bool ReadFileBlock(const CKeyValueLines& lines, QStringList& files);
bool ReadFileBlock(const QStringList& lines, QStringList& files);
// One entry per timer record with a name, under that name; records without a name are
// dropped, two of one name both come back.
bool ReadTimerBlock(const CKeyValueLines& lines, TimerList& timers);
bool ReadTimerBlock(const QStringList& lines, TimerList& timers);
