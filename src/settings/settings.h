#pragma once
// The settings record: every value the ini file stores, plus the few that every start resets.
// The initial values are those of a first start without an ini file; the defaults used when a
// key is missing from a file are a different set and live with the reader. The window's layout
// (its geometry, the file list's width, the album-art panel's height) is stored in the file
// too but lives in the window itself, which gives its design values on a first start.

#include <QString>
#include <cstdint>

struct Settings {
  QString AppName = QStringLiteral("quomm3u");  // profile name, base name of the ini file
  QString AppDataDir = QStringLiteral("/quomm3u");

  QString OutputDeviceName;
  std::int32_t Volume = 5000;
  bool EnableAddGroup = true;
  bool NoAddFolderToGroup = false;
  std::int32_t SearchFileDepth = 0;
  bool SearchFileDepthAll = true;
  QString MediaMask = QStringLiteral("*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;");
  std::int32_t ShowFileListLevel = 1;
  bool ShowFileListAll = false;
  bool PlayWhenOpen = true;
  bool LoadPreviousFiles = true;
  bool PlayWhenExecute = false;
  bool EnablePreviousTimer = false;
  std::int32_t RepeatMode = 3;  // 0 none, 1 one track, 2 the album, 3 everything
  bool WhenOpenSortFileRandom = false;
  bool WhenOpenSelectFileRandom = false;
  bool RandomMusic = false;
  bool RandomPreviousFile = false;
  bool TimerEnabled = true;
  std::int32_t ExportFolderLevel = 0;
  QString ExportCharacterSet = QStringLiteral("Shift-JIS");
  QString ExportCRCode = QStringLiteral("CR + LF");
  QString ExportOtherExt = QStringLiteral("*.jpg;*.jpeg;");
  QString ExportFolder;
  bool CopyFolderJpeg = false;
  double PlayPosition = 0.0;
  double MediaLength = 0.0;

  // Not stored: every start resets them.
  QString m3uCharacterSet = QStringLiteral("Shift-JIS");  // fallback for reading playlists
  QString m3uCRCode = QStringLiteral("CR + LF");
  QString ListKindMask = QStringLiteral("*.m3u;*.pls;*.qlf;*.qtf;*qgf;");

  // Derived: parent folders shown before each list entry's name, -1 for the whole path.
  std::int32_t DisplayLevel = 1;
};

// -1 when whole paths are shown, else the chosen number of parent folders.
inline std::int32_t ComputeDisplayLevel(const Settings& s) {
  return s.ShowFileListAll ? -1 : s.ShowFileListLevel;
}
