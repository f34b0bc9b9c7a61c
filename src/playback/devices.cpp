#include "playback/devices.h"

#include <gst/gst.h>

namespace playback {

namespace {

// The name the sound server shows for our streams.
void NameClient(GstElement* sink) {
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "client-name") != nullptr) {
    g_object_set(sink, "client-name", "quomm3u", nullptr);
  }
}

// Runs `visit` on every audio sink device the monitor finds, in its order.
template <typename Visit>
bool ForEachAudioSink(Visit visit) {
  if (!EnsureGStreamer()) return false;
  GstDeviceMonitor* monitor = gst_device_monitor_new();
  gst_device_monitor_add_filter(monitor, "Audio/Sink", nullptr);
  // Starting probes every provider once; without a started monitor the device list is empty.
  const bool started = gst_device_monitor_start(monitor);
  if (started) {
    GList* devices = gst_device_monitor_get_devices(monitor);
    for (GList* d = devices; d != nullptr; d = d->next) visit(GST_DEVICE(d->data));
    g_list_free_full(devices, gst_object_unref);
    gst_device_monitor_stop(monitor);
  }
  gst_object_unref(monitor);
  return started;
}

QString DisplayName(GstDevice* device) {
  gchar* name = gst_device_get_display_name(device);
  QString text = QString::fromUtf8(name != nullptr ? name : "");
  g_free(name);
  return text;
}

}  // namespace

bool EnsureGStreamer() {
  static const bool ok = gst_init_check(nullptr, nullptr, nullptr);
  return ok;
}

QStringList AudioSinkNames() {
  QStringList names;
  ForEachAudioSink([&](GstDevice* device) {
    const QString name = DisplayName(device);
    if (!name.isEmpty()) names.append(name);
  });
  return names;
}

QStringList OutputDeviceNames(const QStringList& sinks) {
  if (sinks.isEmpty()) return {kNoDevice};
  QStringList names{QString::fromLatin1(kDefaultDirectSoundDevice),
                    QString::fromLatin1(kDefaultWaveOutDevice)};
  names.append(sinks);
  return names;
}

GstElement* CreateAudioRenderer(const QString& name) {
  if (!EnsureGStreamer()) return nullptr;
  GstElement* sink = nullptr;
  if (name == QLatin1String(kDefaultDirectSoundDevice)) {
    // No device: the sound server routes the stream to its default output and follows it
    // when the default changes.
    sink = gst_element_factory_make("pulsesink", nullptr);
  } else if (name == QLatin1String(kDefaultWaveOutDevice)) {
    sink = gst_element_factory_make("alsasink", nullptr);
    if (sink != nullptr) g_object_set(sink, "device", "default", nullptr);
  } else {
    GstDevice* chosen = nullptr;
    ForEachAudioSink([&](GstDevice* device) {
      if (DisplayName(device) != name) return;
      if (chosen != nullptr) gst_object_unref(chosen);
      chosen = GST_DEVICE(gst_object_ref(device));
    });
    if (chosen != nullptr) {
      sink = gst_device_create_element(chosen, nullptr);
      gst_object_unref(chosen);
    }
  }
  if (sink != nullptr) NameClient(sink);
  return sink;
}

}  // namespace playback
