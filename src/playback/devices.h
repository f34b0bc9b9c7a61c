#pragma once
// The audio outputs the GStreamer backend can play to, by display name. Besides the sound
// server's devices there are two fixed names: "Default DirectSound Device" is the sound
// server's default output and "Default WaveOut Device" is ALSA's default device.

#include <QString>
#include <QStringList>

typedef struct _GstElement GstElement;

namespace playback {

inline constexpr const char* kDefaultDirectSoundDevice = "Default DirectSound Device";
inline constexpr const char* kDefaultWaveOutDevice = "Default WaveOut Device";
// Listed alone when there is no output at all.
inline const QString kNoDevice = QStringLiteral("なし");

// Initialises GStreamer once for the process. False when it cannot be initialised.
bool EnsureGStreamer();

// Display names of the devices of class "Audio/Sink", in the order the device monitor lists
// them. Empty when there is none or the monitor cannot start.
QStringList AudioSinkNames();

// The device list as the options page shows it: the two defaults, then `sinks`; "なし" alone
// when `sinks` is empty (then neither default has anything to play to either).
QStringList OutputDeviceNames(const QStringList& sinks);

// A new, floating audio sink element for a device name from the list above; nullptr when no
// device has the name or its element cannot be made. Names compare exactly; with several
// devices of the same name the last one listed is used.
GstElement* CreateAudioRenderer(const QString& name);

}  // namespace playback
