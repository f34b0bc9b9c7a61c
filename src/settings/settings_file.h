#pragma once
// The ini file of a profile: a flat list of Key=Value lines in a fixed order, written as a
// whole from the main window's state and read once at start-up to restore it. The file is
// UTF-16LE without a mark, CR LF after every line, and is replaced atomically, so a kill during
// a save leaves the old file or the new one.

#include <QString>

#include "settings/settings_store.h"

class ISettingsHost;

// The ini file of profile `name`: the per-user data folder, then `appDataDir` (the program's
// folder, "/quomm3u"), then name + ".ini", with one separator between the parts.
QString SettingsFilePath(const QString& name,
                         const QString& appDataDir = QStringLiteral("/quomm3u"));

class CSettingsFile final : public ISettingsStore {
 public:
  // The host must outlive this object.
  explicit CSettingsFile(ISettingsHost& host) : host_(host) {}

  // Restores the previous run. Keys held at this moment: a Control key with the Shift key of
  // the same side skips the file; either Shift key keeps the default output device; either
  // Control key skips restoring the file list and the automatic start.
  void LoadSettings(const QString& name) override;
  // Writes the whole file from the current state. Failures are silent.
  void SaveSettings(const QString& name) override;

  // The output devices, the group page's check boxes, the volume bar and the group list from
  // the settings.
  void ShowMainSettings();

 private:
  ISettingsHost& host_;
};
