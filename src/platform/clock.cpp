#include "platform/clock.h"

namespace platform {
namespace {
class SystemClock : public IClock {
 public:
  QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
SystemClock systemClock;
IClock* current = nullptr;
}  // namespace

IClock& Clock() { return current ? *current : systemClock; }
void SetClock(IClock* clock) { current = clock; }

}  // namespace platform
