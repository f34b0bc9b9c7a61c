#pragma once
// The one pseudo-random source of the program, used by every shuffle and random choice. It is
// seeded once from the clock at start-up; tests replace it with a scripted sequence.

#include <cstdint>
#include <vector>

namespace platform {

class IRandom {
 public:
  virtual ~IRandom() = default;
  virtual void Seed(std::uint64_t seed) = 0;
  // A uniform integer in [0, n); 0 when n < 1.
  virtual int Below(int n) = 0;
};

IRandom& Random();
void SetRandom(IRandom* random);  // nullptr restores the real generator
// Seeds the real generator from the clock; done once by the main window's initialisation.
void SeedRandomFromClock();

// Returns the scripted values in turn (each taken modulo n), then starts over.
class FakeRandom : public IRandom {
 public:
  explicit FakeRandom(std::vector<int> values = {0}) : values_(std::move(values)) {}
  void Seed(std::uint64_t) override {}
  int Below(int n) override {
    if (n < 1 || values_.empty()) return 0;
    const int v = values_[next_++ % values_.size()];
    return ((v % n) + n) % n;
  }

 private:
  std::vector<int> values_;
  std::size_t next_ = 0;
};

}  // namespace platform
