#include "app/playback_frame.h"

#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QWheelEvent>

#include "app/main_form.h"
#include "app/settings_host.h"
#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "playback/bars.h"
#include "playback/dshow.h"
#include "playback/player.h"
#include "playback/transport.h"
#include "playback/vbmp3.h"

namespace {

const QString kWaveOut = QStringLiteral("Default WaveOut Device");

// The window's file list and music list with their list boxes, as the transport sees them.
class CFormLists final : public ITransportLists {
 public:
  explicit CFormLists(TMainForm& form) : form_(form) {}

  int FileCount() const override { return static_cast<int>(Lists().FileList().size()); }
  QString FileEntry(int index) const override { return Lists().FileList().value(index); }
  int FileIndex() const override { return Lists().FileIndex; }
  void SetFileIndex(int index) override { Lists().FileIndex = index; }
  void RemoveFileEntry(int index) override {
    // The lists offer removal only of selected rows; rebuilding the entries without this one
    // keeps their look-up set in step. The caller shows the list again.
    CFileMusicLists& lists = Lists();
    QStringList entries = lists.FileList();
    if (index < 0 || index >= entries.size()) return;
    entries.removeAt(index);
    const int current = lists.FileIndex;
    lists.AddToFileList(entries, false);
    lists.FileIndex = current;
  }
  void ShowFileList() override { Lists().ShowFileList(); }
  void SelectFileRow(int row) override {
    SetFocusedRow(FileLB(), row);
    SelectOnlyRow(FileLB(), row);
  }
  QString FileRowText() const override {
    const QListWidgetItem* item = FileLB()->item(FocusedRow(FileLB()));
    return item ? item->text() : QString();
  }
  bool LoadMusicList() override { return Lists().LoadMusicList(); }

  QStringList& MusicList() override { return Lists().MusicList; }
  int MusicIndex() const override { return Lists().MusicIndex; }
  void SetMusicIndex(int index) override { Lists().MusicIndex = index; }
  void ShowMusicList() override { Lists().ShowMusicList(); }
  int MusicRow() const override { return SelectedRow(MusicLB()); }
  void SetMusicRow(int row) override { SetSelectedRow(MusicLB(), row); }
  void RemoveMusicRow(int row) override { delete MusicLB()->takeItem(row); }
  QString MusicRowText() const override {
    const QListWidgetItem* item = MusicLB()->item(MusicRow());
    return item ? item->text() : QString();
  }
  void HighlightCurrent() override { Lists().HighlightCurrent(); }

 private:
  CFileMusicLists& Lists() const { return *form_.Lists(); }
  QListWidget* FileLB() const { return form_.ui.FileLB; }
  QListWidget* MusicLB() const { return form_.ui.MusicLB; }

  TMainForm& form_;
};

}  // namespace

PlaybackBackends RealPlaybackBackends() {
  PlaybackBackends b;
  auto dshow = std::make_unique<CDShow>();
  CDShow* raw = dshow.get();
  b.DShow = std::move(dshow);
  b.FindMedia = [raw](const void* payload) -> IMedia* { return raw->FindMedia(payload); };
  b.LoadMp3 = [](const QString& path, QObject* receiver) -> std::unique_ptr<IMp3Backend> {
    auto mp3 = std::make_unique<CVBMP3>();
    if (!mp3->Load(path) || !mp3->Init(CVBMP3::PostMp3Ended(receiver))) return nullptr;
    return mp3;
  };
  return b;
}

CPlaybackFrame::CPlaybackFrame(TMainForm& form, PlaybackBackends backends)
    : form_(form), backends_(std::move(backends)) {
  TMainFormUi& ui = form_.ui;
  player_ = std::make_unique<CPlayer>(form_.settings, *backends_.DShow);
  bars_ = std::make_unique<CBars>(form_.settings, *player_,
                                  BarWidgets{ui.TrackPanel, ui.TrackShape, ui.TrackSB,
                                             ui.VolumePanel, ui.VolumeShape, ui.VolumeSB});
  lists_ = std::make_unique<CFormLists>(form_);
  transport_ = std::make_unique<CTransport>(
      form_.settings, *player_, *bars_, *lists_,
      TransportWidgets{ui.PlayPauseSB, ui.PlayPausePM, &ui.ImageList, ui.Timer, ui.TrayIcon});

  connect(ui.OutputDeviceNamesCB, &QComboBox::activated, this,
          &CPlaybackFrame::OutputDeviceNamesCBChange);
  connect(ui.RefreshDeviceButton, &QPushButton::clicked, this,
          &CPlaybackFrame::RefreshDeviceButtonClick);
  // The wheel reaches the window when no control under the pointer took it.
  form_.installEventFilter(this);
}

CPlaybackFrame::~CPlaybackFrame() {
  form_.removeEventFilter(this);
  transport_.reset();
  Finalize();
}

void CPlaybackFrame::InitMainWindow() {
  backends_.DShow->Initialize(&form_);
  QStringList names;
  if (!backends_.DShow->EnumerateDevices(names)) names.clear();
  for (qsizetype i = 0; i < names.size(); ++i) {
    if (names[i].compare(kWaveOut, Qt::CaseInsensitive) == 0) {
      names.removeAt(i);
      break;
    }
  }
  form_.OutputDeviceNames = names;
}

void CPlaybackFrame::OutputDeviceNamesCBChange(int row) {
  if (row < 0 || row >= form_.OutputDeviceNames.size()) return;
  form_.settings.OutputDeviceName = form_.OutputDeviceNames[row];
  backends_.DShow->SetDevice(form_.settings.OutputDeviceName);
}

void CPlaybackFrame::RefreshDeviceButtonClick() {
  QStringList names;
  if (!backends_.DShow->EnumerateDevices(names)) names.clear();
  form_.OutputDeviceNames = names;
  form_.SettingsHost().FillDeviceList();
}

bool CPlaybackFrame::LoadMp3Library(const QString& programFolder) {
  const QString path = programFolder + QStringLiteral("/libvbmp3.so");
  if (!QFileInfo(path).isFile() || !backends_.LoadMp3) return false;
  mp3_ = backends_.LoadMp3(path, &form_);
  player_->SetMp3Library(mp3_.get());
  return mp3_ != nullptr;
}

void CPlaybackFrame::HandleMediaEvents(void* payload) {
  IMedia* current = player_->CurrentMedia();
  if (!current) return;
  // Only the events of the media that is open now count; a released one's are stale.
  IMedia* media = backends_.FindMedia ? backends_.FindMedia(payload) : nullptr;
  if (media != current) return;
  transport_->CheckMediaEvents(media);
}

void CPlaybackFrame::HandleMp3Ended() {
  if (!mp3_) return;
  mp3_->Stop();
  transport_->TrackEnded();
}

void CPlaybackFrame::PlayerReopen() { player_->PlayerReopen(); }
bool CPlaybackFrame::Playing() const { return transport_->Playing(); }
bool CPlaybackFrame::HasCurrentMedia() const { return transport_->HasCurrentMedia(); }
void CPlaybackFrame::StopTrack() { transport_->StopTrack(); }
void CPlaybackFrame::PlayFromStart() { transport_->PlayFromStart(); }
void CPlaybackFrame::OpenCurrentTrack() { transport_->OpenCurrentTrack(); }
void CPlaybackFrame::PlayPauseSBClick() { transport_->PlayPauseSBClick(); }
void CPlaybackFrame::PlayerClose() { player_->PlayerClose(); }
void CPlaybackFrame::PlayerSetPosition(double position) { player_->PlayerSetPosition(position); }
void CPlaybackFrame::PreviousTrackSBClick() { transport_->PreviousTrackSBClick(); }
void CPlaybackFrame::NextTrackSBClick() { transport_->NextTrackSBClick(); }
void CPlaybackFrame::PreviousAlbumTMClick() { transport_->PreviousAlbumTMClick(); }
void CPlaybackFrame::NextAlbumTMClick() { transport_->NextAlbumTMClick(); }
void CPlaybackFrame::Resized() { bars_->FormResize(); }
double CPlaybackFrame::PlayerGetPosition() { return player_->PlayerGetPosition(); }
bool CPlaybackFrame::PlayTrack(double position) { return transport_->PlayTrack(position); }
void CPlaybackFrame::ShowPosition(double position) { bars_->ShowPosition(position); }
void CPlaybackFrame::ShowVolume(int volume) { bars_->ShowVolume(volume); }

void CPlaybackFrame::SelectOutputDevice(const QString& name) { backends_.DShow->SetDevice(name); }

void CPlaybackFrame::Finalize() {
  if (finalized_) return;
  finalized_ = true;
  player_->SetMp3Library(nullptr);
  mp3_.reset();
  backends_.DShow->Finalize();
}

bool CPlaybackFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &form_ && event->type() == QEvent::Wheel) {
    const auto* wheel = static_cast<QWheelEvent*>(event);
    bars_->FormMouseWheel(wheel->angleDelta().y(), wheel->globalPosition().toPoint());
  }
  return QObject::eventFilter(watched, event);
}
