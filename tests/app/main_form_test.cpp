#include <gtest/gtest.h>

#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include "app/main_form.h"
#include "library/file_music_lists.h"
#include "platform/app_events.h"
#include "platform/keystate.h"

namespace {

// Every call the window makes into its parts, in order.
using Log = std::vector<std::string>;

class RecordingStore : public ISettingsStore {
 public:
  RecordingStore(Log& log, std::function<void()> onLoad = {}) : log_(log), onLoad_(onLoad) {}
  void LoadSettings(const QString& name) override {
    log_.push_back("LoadSettings " + name.toStdString());
    if (onLoad_) onLoad_();
  }
  void SaveSettings(const QString& name) override {
    log_.push_back("SaveSettings " + name.toStdString());
  }

 private:
  Log& log_;
  std::function<void()> onLoad_;
};

class RecordingOpener : public IPathOpener {
 public:
  explicit RecordingOpener(Log& log) : log_(log) {}
  void OpenPaths(const QStringList& p) override { Add("OpenPaths", p); }
  void OpenPathsWithAutoPlay(const QStringList& p) override { Add("OpenPathsWithAutoPlay", p); }
  void AddMediaToMusicList(const QStringList& p) override { Add("AddMediaToMusicList", p); }

 private:
  void Add(const char* what, const QStringList& p) {
    log_.push_back(std::string(what) + " " + p.join(u',').toStdString());
  }
  Log& log_;
};

class RecordingPlayback : public NoPlaybackFrame {
 public:
  explicit RecordingPlayback(Log& log, bool mp3 = false) : log_(log), mp3_(mp3) {}
  bool LoadMp3Library(const QString&) override {
    log_.push_back("LoadMp3Library");
    return mp3_;
  }
  bool Mp3LibraryLoaded() const override { return mp3_; }
  void HandleMediaEvents(void* media) override {
    log_.push_back("HandleMediaEvents " + std::to_string(reinterpret_cast<std::uintptr_t>(media)));
  }
  void HandleMp3Ended() override { log_.push_back("HandleMp3Ended"); }
  void PlayerClose() override { log_.push_back("PlayerClose"); }
  void PlayPauseSBClick() override { log_.push_back("PlayPauseSBClick"); }
  void Finalize() override { log_.push_back("Finalize"); }

 private:
  Log& log_;
  bool mp3_;
};

class Questions : public IStartupQuestions {
 public:
  explicit Questions(bool answer) : answer_(answer) {}
  bool AskYesNo(const QString& text) override {
    asked.append(text);
    return answer_;
  }
  QStringList asked;

 private:
  bool answer_;
};

struct Fixture {
  explicit Fixture(bool mp3 = false, std::function<void(TMainForm&)> onLoad = {}) {
    MainFormParts parts;
    parts.SettingsStore = std::make_unique<RecordingStore>(log, [this, onLoad] {
      if (onLoad) onLoad(*form);
    });
    parts.Opener = std::make_unique<RecordingOpener>(log);
    parts.Playback = std::make_unique<RecordingPlayback>(log, mp3);
    form = std::make_unique<TMainForm>(std::move(parts));
  }
  Log log;
  std::unique_ptr<TMainForm> form;
};

bool Contains(const Log& log, const std::string& entry) {
  return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST(MainForm, StartupRunsInOrderAndEveryArgumentIsOpened) {
  Fixture f;
  f.form->Startup({"/xy", "/music/a.m3u"});
  EXPECT_EQ(f.log, (Log{"LoadMp3Library", "LoadSettings xy", "OpenPaths /xy,/music/a.m3u"}));
  EXPECT_EQ(f.form->settings.AppName, "xy");
  EXPECT_EQ(f.form->settings.AppDataDir, "/quomm3u");
  EXPECT_EQ(f.form->ui.PageControl->currentWidget(), f.form->ui.MusicTS);
  EXPECT_EQ(f.form->Lists()->FileIndex, -1);
  EXPECT_EQ(f.form->ui.TrayIcon->toolTip(), QString());
}

TEST(MainForm, NoArgumentsOpenNothingAndTheGroupPageFollowsTheSetting) {
  Fixture f(false, [](TMainForm& form) { form.settings.LoadPreviousFiles = false; });
  f.form->Startup({});
  EXPECT_EQ(f.log, (Log{"LoadMp3Library", "LoadSettings quomm3u"}));
  EXPECT_EQ(f.form->ui.PageControl->currentWidget(), f.form->ui.GroupTS);
}

TEST(MainForm, DirectSoundQuestion) {
  struct Case {
    bool mp3;
    const char* device;
    bool answer;
    bool asked;
    const char* deviceAfter;
  } cases[] = {
      {true, "Default WaveOut Device", true, true, "Default DirectSound Device"},
      {true, "Default WaveOut Device", false, true, "Default WaveOut Device"},
      {true, "Default DirectSound Device", true, false, "Default DirectSound Device"},
      {false, "Default WaveOut Device", true, false, "Default WaveOut Device"},
  };
  for (const Case& c : cases) {
    Fixture f(c.mp3, [&c](TMainForm& form) { form.settings.OutputDeviceName = c.device; });
    Questions questions(c.answer);
    f.form->SetStartupQuestions(&questions);
    f.form->Startup({});
    ASSERT_EQ(questions.asked.size(), c.asked ? 1 : 0) << c.device;
    if (c.asked) {
      EXPECT_EQ(questions.asked[0], QString::fromUtf8("libvbmp3.so が読み込まれています。\n"
                                                     "出力を Default DirectSound Device に切り替えますか？"));
    }
    EXPECT_EQ(f.form->settings.OutputDeviceName, c.deviceAfter);
  }
}

TEST(MainForm, CloseButtonOnlyMinimises) {
  Fixture f;
  f.form->Startup({});
  f.form->show();
  QSignalSpy shutDown(f.form.get(), &TMainForm::ShutDown);
  EXPECT_FALSE(f.form->close());
  EXPECT_TRUE(f.form->isMinimized());
  EXPECT_FALSE(Contains(f.log, "SaveSettings quomm3u"));
  EXPECT_EQ(shutDown.count(), 0);

  f.form->TrayIconClick();
  EXPECT_FALSE(f.form->isMinimized());
  EXPECT_TRUE(f.form->isVisible());
}

TEST(MainForm, ExitShutsDownInOrderOnce) {
  Fixture f;
  f.form->Startup({"-work"});
  f.form->show();
  f.form->ui.Timer->start();
  f.form->ui.ClockTimer->start();
  QSignalSpy shutDown(f.form.get(), &TMainForm::ShutDown);
  f.log.clear();
  f.form->ExitTMClick();
  EXPECT_EQ(f.log, (Log{"SaveSettings work", "PlayerClose", "Finalize"}));
  EXPECT_FALSE(f.form->ui.Timer->isActive());
  EXPECT_FALSE(f.form->ui.ClockTimer->isActive());
  EXPECT_EQ(shutDown.count(), 1);
  EXPECT_TRUE(f.form->Finalized());
  EXPECT_FALSE(f.form->isVisible());
  // A second request after the shutdown does not save again.
  f.form->close();
  EXPECT_EQ(f.log.size(), 3u);
}

TEST(MainForm, OwnMessagesReachPlayback) {
  Fixture f;
  f.form->Startup({});
  int media = 0;
  platform::PostAppMessage(f.form.get(), platform::AppMessage::MediaEvents, &media);
  platform::PostAppMessage(f.form.get(), platform::AppMessage::Mp3Ended);
  f.log.clear();
  QCoreApplication::processEvents();
  EXPECT_EQ(f.log, (Log{"HandleMediaEvents " +
                            std::to_string(reinterpret_cast<std::uintptr_t>(&media)),
                        "HandleMp3Ended"}));
}

TEST(MainForm, DropsOpenOrAddByShift) {
  platform::FakeKeyState keys;
  platform::SetKeyState(&keys);
  struct Case {
    bool shift;
    QList<QUrl> urls;
    std::string expected;  // empty: nothing happens
  } cases[] = {
      {false, {QUrl::fromLocalFile("/m/a"), QUrl::fromLocalFile("/m/b.mp3")},
       "OpenPathsWithAutoPlay /m/a,/m/b.mp3"},
      {true, {QUrl::fromLocalFile("/m/b.mp3")}, "AddMediaToMusicList /m/b.mp3"},
      {false, {QUrl("https://example.org/x.mp3")}, ""},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.form->Startup({});
    f.log.clear();
    keys.Set(platform::Key::RightShift, c.shift);
    QMimeData mime;
    mime.setUrls(c.urls);
    EXPECT_EQ(f.form->DropFiles(&mime), !c.expected.empty());
    EXPECT_EQ(f.log, c.expected.empty() ? Log{} : Log{c.expected});
  }
  platform::SetKeyState(nullptr);
}

TEST(MainForm, SpaceTogglesPlaybackOnTheFilePageOnly) {
  Fixture f;
  f.form->Startup({});
  f.log.clear();
  f.form->ui.PageControl->setCurrentWidget(f.form->ui.MusicTS);
  QTest::keyClick(f.form.get(), Qt::Key_Space);
  f.form->ui.PageControl->setCurrentWidget(f.form->ui.GroupTS);
  QTest::keyClick(f.form.get(), Qt::Key_Space);
  EXPECT_EQ(f.log, Log{"PlayPauseSBClick"});
}

struct WorkAreaCase {
  QRect window, area;
  QPoint expected;
};
void PrintTo(const WorkAreaCase& c, std::ostream* os) {
  *os << c.window.x() << "," << c.window.y() << " " << c.window.width() << "x"
      << c.window.height();
}
class WorkArea : public ::testing::TestWithParam<WorkAreaCase> {};
TEST_P(WorkArea, KeepsTheWindowOnScreen) {
  EXPECT_EQ(KeepInWorkArea(GetParam().window, GetParam().area), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Table, WorkArea,
    ::testing::Values(
        WorkAreaCase{{100, 50, 686, 776}, {0, 0, 1920, 1040}, {100, 50}},     // inside
        WorkAreaCase{{-300, -20, 686, 776}, {0, 0, 1920, 1040}, {0, 0}},      // off left/top
        WorkAreaCase{{1800, 500, 686, 776}, {0, 0, 1920, 1040}, {1234, 264}},  // off right/bottom
        WorkAreaCase{{10, 10, 800, 900}, {0, 30, 640, 480}, {-160, -390}},    // larger: right/bottom
        WorkAreaCase{{0, 0, 686, 776}, {1920, 0, 1280, 1024}, {1920, 0}}));   // second monitor

}  // namespace
