#pragma once
// The local clock, injectable so that tests can fix the time of day and the weekday.

#include <QDateTime>

namespace platform {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual QDateTime Now() const = 0;  // local time
  // 0 = Sunday … 6 = Saturday, the weekday numbering the timers store.
  int WeekDay() const { return Now().date().dayOfWeek() % 7; }
};

IClock& Clock();
void SetClock(IClock* clock);  // nullptr restores the system clock

class FakeClock : public IClock {
 public:
  explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 1, 4), QTime(12, 0))) : now_(now) {}
  QDateTime Now() const override { return now_; }
  void Set(const QDateTime& now) { now_ = now; }
  void AddSecs(qint64 s) { now_ = now_.addSecs(s); }

 private:
  QDateTime now_;
};

}  // namespace platform
