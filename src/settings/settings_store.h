#pragma once
// Reading and writing the ini file of a profile. The main window calls LoadSettings once while
// it starts and SaveSettings when it shuts down (and after list changes).

#include <QString>

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  // Reads the ini file of the profile and restores the previous run's state.
  virtual void LoadSettings(const QString& appName) = 0;
  // Writes the whole ini file of the profile from the current state.
  virtual void SaveSettings(const QString& appName) = 0;
};

// The store used while the program has no ini file support: nothing is read or written.
class NoSettingsStore : public ISettingsStore {
 public:
  void LoadSettings(const QString&) override {}
  void SaveSettings(const QString&) override {}
};
