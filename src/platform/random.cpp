#include "platform/random.h"

#include <chrono>
#include <random>

namespace platform {
namespace {
class SystemRandom : public IRandom {
 public:
  void Seed(std::uint64_t seed) override { engine_.seed(seed); }
  int Below(int n) override {
    if (n < 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
  }

 private:
  std::mt19937_64 engine_{5489u};
};
SystemRandom systemRandom;
IRandom* current = nullptr;
}  // namespace

IRandom& Random() { return current ? *current : systemRandom; }
void SetRandom(IRandom* random) { current = random; }
void SeedRandomFromClock() {
  systemRandom.Seed(
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

}  // namespace platform
