#include "settings/settings_file.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <variant>

#include "platform/files.h"
#include "platform/keystate.h"
#include "platform/paths.h"
#include "settings/key_values.h"
#include "settings/list_blocks.h"
#include "settings/option_pages.h"
#include "settings/settings.h"
#include "settings/settings_host.h"
#include "text/text_lines.h"

namespace {

const QString kDefaultDevice = QStringLiteral("Default DirectSound Device");
const QString kSkipMessage = QStringLiteral("ini ファイルを読み込まずに開始します");

// Search history lines read back: Search0 to Search19.
constexpr int kSearchHistoryRead = 20;

// A file the program wrote stays far below this even with 100,000 file-list entries (some
// 3 MB per 20,000). A larger file is not one of ours, and decoding it would hold the start-up
// for seconds (about 30 ms per MB of garbage), so it is not read and every key takes its
// default; the next save replaces it.
constexpr qint64 kMaxSettingsFileSize = 16 * 1024 * 1024;

// The settings stored as plain keys, in the order the file holds them. Each carries the default
// a file without the key (or with an empty value) gives; for RepeatMode,
// WhenOpenSortFileRandom, WhenOpenSelectFileRandom and ExportFolderLevel it differs from the
// first-start value of the record, and files written by earlier runs rely on both. A range
// applies only when its bounds differ.
struct IntKey {
  std::int32_t Settings::*field;
  std::int32_t def;
  std::int32_t min = 0;
  std::int32_t max = 0;
};
struct BoolKey {
  bool Settings::*field;
  bool def;
};
struct StringKey {
  QString Settings::*field;
  const char16_t* def;
};
struct KeyRow {
  const char16_t* key;
  std::variant<IntKey, BoolKey, StringKey> value;
};

const KeyRow kOptionKeys[] = {
    {u"Volume", IntKey{&Settings::Volume, 5000}},
    {u"EnableAddGroup", BoolKey{&Settings::EnableAddGroup, true}},
    {u"NoAddFolderToGroup", BoolKey{&Settings::NoAddFolderToGroup, false}},
    {u"SearchFileDepth", IntKey{&Settings::SearchFileDepth, 0}},
    {u"SearchFileDepthAll", BoolKey{&Settings::SearchFileDepthAll, true}},
    {u"MediaMask", StringKey{&Settings::MediaMask, u"*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;"}},
    {u"ShowFileListLevel", IntKey{&Settings::ShowFileListLevel, 1}},
    {u"ShowFileListAll", BoolKey{&Settings::ShowFileListAll, false}},
    {u"PlayWhenOpen", BoolKey{&Settings::PlayWhenOpen, true}},
    {u"LoadPreviousFiles", BoolKey{&Settings::LoadPreviousFiles, true}},
    {u"PlayWhenExecute", BoolKey{&Settings::PlayWhenExecute, false}},
    {u"EnablePreviousTimer", BoolKey{&Settings::EnablePreviousTimer, false}},
    {u"RepeatMode", IntKey{&Settings::RepeatMode, 0, 0, 3}},
    {u"WhenOpenSortFileRandom", BoolKey{&Settings::WhenOpenSortFileRandom, true}},
    {u"WhenOpenSelectFileRandom", BoolKey{&Settings::WhenOpenSelectFileRandom, true}},
    {u"RandomMusic", BoolKey{&Settings::RandomMusic, false}},
    {u"RandomPreviousFile", BoolKey{&Settings::RandomPreviousFile, false}},
    {u"TimerEnabled", BoolKey{&Settings::TimerEnabled, true}},
    {u"ExportFolderLevel", IntKey{&Settings::ExportFolderLevel, 1, 0, 100}},
    {u"ExportCharacterSet", StringKey{&Settings::ExportCharacterSet, u"Shift-JIS"}},
    {u"ExportCRCode", StringKey{&Settings::ExportCRCode, u"CR + LF"}},
    {u"ExportOtherExt", StringKey{&Settings::ExportOtherExt, u"*.jpg;*.jpeg;"}},
    {u"ExportFolder", StringKey{&Settings::ExportFolder, u""}},
    {u"CopyFolderJpeg", BoolKey{&Settings::CopyFolderJpeg, false}},
};

QString Line(const QString& key, const QString& value) { return key + u'=' + value; }
QString Line(const QString& key, int value) { return Line(key, QString::number(value)); }
QString BoolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

void WriteOptionKeys(QStringList& lines, const Settings& s) {
  for (const KeyRow& row : kOptionKeys) {
    const QString key = QString::fromUtf16(row.key);
    if (const auto* i = std::get_if<IntKey>(&row.value))
      lines.append(Line(key, s.*(i->field)));
    else if (const auto* b = std::get_if<BoolKey>(&row.value))
      lines.append(Line(key, BoolText(s.*(b->field))));
    else
      lines.append(Line(key, s.*(std::get<StringKey>(row.value).field)));
  }
}

void ReadOptionKeys(const CKeyValueLines& lines, Settings& s) {
  for (const KeyRow& row : kOptionKeys) {
    const QString key = QString::fromUtf16(row.key);
    if (const auto* i = std::get_if<IntKey>(&row.value)) {
      s.*(i->field) = lines.GetKeyInt(key, i->def, i->min, i->max);
    } else if (const auto* b = std::get_if<BoolKey>(&row.value)) {
      s.*(b->field) = lines.GetKeyBool(key, b->def);
    } else {
      const auto& str = std::get<StringKey>(row.value);
      int start = 0;
      s.*(str.field) = lines.GetKeyString(key, QString::fromUtf16(str.def), start);
    }
  }
}

int IndexOfPath(const QStringList& list, const QString& path) {
  if (path.isEmpty()) return -1;
  for (int i = 0; i < list.size(); ++i)
    if (platform::SamePath(list[i], path)) return i;
  return -1;
}

bool InRange(int index, const QStringList& list) { return index >= 0 && index < list.size(); }

// The held keys, read once as loading begins, so that every step sees the same state.
struct HeldKeys {
  bool skipFile;
  bool shift;
  bool control;
};

HeldKeys ReadHeldKeys() {
  const platform::IKeyState& keys = platform::KeyState();
  return {keys.ControlShiftSameSide(), keys.ShiftDown(), keys.ControlDown()};
}

}  // namespace

QString SettingsFilePath(const QString& name, const QString& appDataDir) {
  QString folder = platform::LocalAppDataFolder();
  while (folder.endsWith(u'/')) folder.chop(1);
  QString sub = appDataDir;
  while (sub.endsWith(u'/')) sub.chop(1);
  if (!sub.isEmpty() && !sub.startsWith(u'/')) sub.prepend(u'/');
  return folder + sub + u'/' + name + QStringLiteral(".ini");
}

void CSettingsFile::SaveSettings(const QString& name) {
  ISettingsHost& h = host_;
  Settings& s = h.GetSettings();
  const QString path = SettingsFilePath(name, s.AppDataDir);

  const QStringList& fileList = h.FileList();
  const QStringList& musicList = h.MusicList();
  const QStringList history = h.SearchHistory();
  QStringList lines;
  lines.reserve(64 + history.size() + h.GroupList().size() + fileList.size() +
                h.TimerList().size());

  const QRect window = h.WindowGeometry();
  lines.append(Line(QStringLiteral("FormLeft"), window.x()));
  lines.append(Line(QStringLiteral("FormTop"), window.y()));
  lines.append(Line(QStringLiteral("FormWidth"), window.width()));
  lines.append(Line(QStringLiteral("FormHeight"), window.height()));
  lines.append(Line(QStringLiteral("FileListWidth"), h.FileListWidth()));
  lines.append(Line(QStringLiteral("AlbumArtPanelHeight"), h.AlbumArtPanelHeight()));
  lines.append(Line(QStringLiteral("OutputDeviceName"), s.OutputDeviceName));
  if (InRange(h.FileIndex(), fileList))
    lines.append(Line(QStringLiteral("ActiveFileName"), fileList[h.FileIndex()]));
  if (InRange(h.MusicIndex(), musicList))
    lines.append(Line(QStringLiteral("ActiveMusicName"), musicList[h.MusicIndex()]));
  WriteOptionKeys(lines, s);

  for (int i = 0; i < history.size(); ++i)
    lines.append(Line(QStringLiteral("Search") + QString::number(i), history[i]));

  WriteGroupBlock(lines, h.GroupList());
  if (s.LoadPreviousFiles) {
    WriteFileBlock(lines, fileList);
    // A negative position means no track is open. It is not kept in PlayPosition, which the
    // player resumes from; the lines are left out and the stored position stays as it was.
    const double position = h.PlayerGetPosition();
    if (position >= 0) {
      s.PlayPosition = position;
      lines.append(Line(QStringLiteral("MediaLength"), FormatReal(s.MediaLength)));
      lines.append(Line(QStringLiteral("PlayPosition"), FormatReal(s.PlayPosition)));
    }
  }
  WriteTimerBlock(lines, h.TimerList(), h.TimerRowCount());

  platform::ForceDirectories(QFileInfo(path).absolutePath());
  SaveTextLines(lines, path);
}

void CSettingsFile::ShowMainSettings() {
  const Settings& s = host_.GetSettings();
  host_.FillDeviceList();
  host_.ShowGroupOptions();
  host_.ShowVolume(s.Volume);
  host_.ShowGroupList();
}

void CSettingsFile::LoadSettings(const QString& name) {
  ISettingsHost& h = host_;
  Settings& s = h.GetSettings();
  const HeldKeys keys = ReadHeldKeys();

  if (keys.skipFile) {
    QApplication::beep();
    h.ShowMessage(kSkipMessage);
    // Nothing is read; the option pages still show the values the program runs with.
    h.ShowOptionSettings();
    return;
  }

  const QString path = SettingsFilePath(name, s.AppDataDir);
  if (!platform::FileExists(path)) {
    // First start: a complete file from the initial values at once. The option pages are
    // filled too, so that they show the values the program runs with (the design values of a
    // few of them differ).
    SaveSettings(name);
    ShowMainSettings();
    h.ShowOptionSettings();
    h.SelectOutputDevice(s.OutputDeviceName);
    return;
  }

  QStringList read;
  if (QFileInfo(path).size() <= kMaxSettingsFileSize) LoadTextLines(read, path);
  const CKeyValueLines lines(read);
  read.clear();

  const int width = lines.GetKeyInt(QStringLiteral("FormWidth"), 0, 0, 0);
  const int height = lines.GetKeyInt(QStringLiteral("FormHeight"), 0, 0, 0);
  const int left = lines.GetKeyInt(QStringLiteral("FormLeft"), 0, 0, 0);
  const int top = lines.GetKeyInt(QStringLiteral("FormTop"), 0, 0, 0);
  h.SetWindowSize(width, height);
  h.SetWindowPosition(left, top);
  h.SetFileListWidth(lines.GetKeyInt(QStringLiteral("FileListWidth"), 193, 0, 0));
  h.SetAlbumArtPanelHeight(lines.GetKeyInt(QStringLiteral("AlbumArtPanelHeight"), 217, 0, 0));

  // Every plain key is looked for from the first line, so the order of the lines does not
  // matter.
  auto stringValue = [&lines](const QString& key, const QString& def = {}) {
    int start = 0;
    return lines.GetKeyString(key, def, start);
  };
  if (!keys.shift)
    s.OutputDeviceName = stringValue(QStringLiteral("OutputDeviceName"), kDefaultDevice);
  QString activeFile = stringValue(QStringLiteral("ActiveFileName"));
  QString activeMusic = stringValue(QStringLiteral("ActiveMusicName"));

  ReadOptionKeys(lines, s);

  for (int i = 0; i < kSearchHistoryRead; ++i) {
    const QString entry = stringValue(QStringLiteral("Search") + QString::number(i));
    if (!entry.isEmpty()) h.AddSearchHistory(entry);
  }

  ReadGroupBlock(lines, h.GroupList());

  if (s.LoadPreviousFiles && !keys.control) {
    QStringList files;
    ReadFileBlock(lines, files);
    if (s.RandomPreviousFile) h.ShuffleList(files);
    h.AddToFileList(files, false);
    if (s.RandomPreviousFile) {
      activeFile.clear();
      activeMusic.clear();
    }
  } else {
    activeFile.clear();
    activeMusic.clear();
  }

  ReadTimerBlock(lines, h.TimerList());

  RecomputeDisplayLevel(s);
  ShowMainSettings();
  h.ShowOptionSettings();
  h.ShowFileList();
  h.RefreshTimerList();

  h.SelectOutputDevice(s.OutputDeviceName);

  if (s.EnablePreviousTimer) h.RunPreviousTimer();

  if (!keys.control) {
    if (s.LoadPreviousFiles) {
      h.SetFileIndex(IndexOfPath(h.FileList(), activeFile));
      if (h.FileIndex() >= 0) {
        h.SelectFileRow(h.FileIndex());
        h.LoadMusicList();
        h.SetMusicIndex(IndexOfPath(h.MusicList(), activeMusic));
        h.OpenCurrentTrack();
        if (h.MusicIndex() >= 0) {
          // A position that is not a number reads as 0: the track starts from its beginning.
          s.PlayPosition = lines.GetKeyReal(QStringLiteral("PlayPosition"), 0, 0, 0);
          if (h.MusicRowCount() > h.MusicIndex()) h.SelectMusicRow(h.MusicIndex());
          h.PlayerSetPosition(s.PlayPosition);
          h.ShowPosition(s.PlayPosition);
        } else {
          h.SetMusicIndex(0);
          h.SelectMusicRow(0);
        }
      } else {
        h.SetFileIndex(0);
        h.SetMusicIndex(0);
        h.LoadMusicList();
        h.OpenCurrentTrack();
      }
    } else {
      h.SetFileIndex(0);
      h.FocusFileRowWithoutSelection(0);
      h.SetMusicIndex(0);
      h.SelectMusicRow(0);
      h.LoadMusicList();
      h.OpenCurrentTrack();
    }
    if (s.PlayWhenExecute) h.PlayTrack(s.PlayPosition);
  }

  h.SetTimerButtonDown(s.TimerEnabled);
  h.TimerSBClick();
}
