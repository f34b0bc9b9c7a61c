#pragma once
// libvbmp3.so: the MP3 playback component that quomm3u loads at run time from its own folder.
// It decodes MPEG audio with libmpg123 and plays it through libout123 on the sound server's
// default output, on a playback thread of its own.
//
// Every entry point has C linkage, 32-bit integer or pointer arguments and a 32-bit integer
// result. Unless said otherwise a result of 0 means failure and non-zero means success.
// All calls are safe from any thread; they are meant to come from one controlling thread,
// while the end-of-file callback comes from the playback thread.
//
// Units: a "sample" is one sample per channel (44100 samples are one second of a 44.1 kHz
// file); a "frame" is one MPEG frame (1152 samples for MPEG-1 layer III).

#include <stdint.h>

#ifdef __cplusplus
#define VBMP3_API extern "C" __attribute__((visibility("default")))
#else
#include <uchar.h>
#define VBMP3_API __attribute__((visibility("default")))
#endif

// Event codes handed to the callback.
enum {
  VBMP3_EVENT_END = 4,  // the open file has played to its end; the parameter is 0
};

// Playback states answered by vbmp3_getState.
enum {
  VBMP3_STATE_CLOSED = 0,
  VBMP3_STATE_STOPPED = 1,
  VBMP3_STATE_PLAYING = 2,
  VBMP3_STATE_PAUSED = 3,
};

// The block that vbmp3_open and vbmp3_openW fill in (272 bytes). Fields the file does not
// give stay 0.
typedef struct Vbmp3Info {
  int32_t sampleRate;    // samples per second
  int32_t channels;      // 1 or 2
  int32_t totalSamples;  // as vbmp3_getTotalSamples
  int32_t totalFrames;   // MPEG frames in the file
  int32_t bitrate;       // kbit/s of the first frame (0 for free format)
  int32_t layer;         // 1, 2 or 3
  int32_t version;       // 10 = MPEG-1, 20 = MPEG-2, 25 = MPEG-2.5
  int32_t lengthMs;      // length in milliseconds
  char reserved[240];
} Vbmp3Info;

// The program's callback: an event code and a parameter. Its result is ignored. It is called
// on the playback thread, without any lock of the component held, so it may call back in.
typedef int32_t (*Vbmp3Callback)(int32_t code, int32_t param);

// Registers the callback (null removes it). Always 1.
VBMP3_API int32_t vbmp3_callback(Vbmp3Callback callback);
// Lets the end-of-file event reach the callback. Always 1.
VBMP3_API int32_t vbmp3_startCallback(void);
// Keeps events from the callback until vbmp3_startCallback; an end reached meanwhile is not
// reported later. Always 1.
VBMP3_API int32_t vbmp3_stopCallback(void);

// Pitch shifting is not supported: the pitch is always 100 (per cent) and the step 0. The
// setters accept exactly those values and refuse every other.
VBMP3_API int32_t vbmp3_setStepPitch(int32_t step);
VBMP3_API int32_t vbmp3_getStepPitch(void);
VBMP3_API int32_t vbmp3_setPitch(int32_t pitch);
VBMP3_API int32_t vbmp3_getPitch(void);

// Opens the open file again from disk and goes back to the same position and state (a file
// that was playing plays on). 0 when nothing is open or the file cannot be opened any more;
// the file is then closed.
VBMP3_API int32_t vbmp3_reload(void);

// Prepares the component: the playback thread and the output. Calling it again does nothing.
// Always 1. Every other entry point prepares the component on first use as well.
VBMP3_API int32_t vbmp3_init(void);
// Closes the file, ends the playback thread, releases the output and forgets the callback.
// The component may be used again afterwards. Always 1.
VBMP3_API int32_t vbmp3_free(void);

// Opens an MPEG audio file (layer I, II or III; ID3v2 tags are skipped) and closes the one
// open before. Only files that begin with MPEG audio are taken: FLAC, MP4/M4A, WMA, WAV, Ogg,
// empty files and other data are refused, so that the caller can hand them to another
// player. The file starts stopped at sample 0 with the volume set last. `info` (may be null)
// receives a Vbmp3Info. vbmp3_open takes the path in code page 932, vbmp3_openW in UTF-16;
// both zero-terminated.
VBMP3_API int32_t vbmp3_open(const char* path, void* info);
VBMP3_API int32_t vbmp3_openW(const char16_t* path, void* info);
// Stops and closes the open file. Always 1.
VBMP3_API int32_t vbmp3_close(void);
// One of VBMP3_STATE_*.
VBMP3_API int32_t vbmp3_getState(void);

// Starts playback from the current position (from sample 0 again after the file had played to
// its end); resumes a paused file; keeps a playing one playing. 0 when nothing is open or the
// output cannot be started.
VBMP3_API int32_t vbmp3_play(void);
// Stops playback at once and goes back to sample 0. 1 also when nothing was playing.
VBMP3_API int32_t vbmp3_stop(void);
// Pauses a playing file, keeping its position; 1 also when already paused. 0 when nothing is
// open or the file is stopped.
VBMP3_API int32_t vbmp3_pause(void);
// Resumes a paused file; 1 also when it is playing. 0 when nothing is open or it is stopped.
VBMP3_API int32_t vbmp3_restart(void);

// Moves to a position in whole seconds. As vbmp3_setPlaySamples.
VBMP3_API int32_t vbmp3_seek(int32_t seconds);
// The position in MPEG frames, and moving to one. As the sample calls.
VBMP3_API int32_t vbmp3_getPlayFlames(void);
VBMP3_API int32_t vbmp3_setPlayFlames(int32_t frames);
// The position in samples: what has been handed to the output and so heard or about to be
// heard (never ahead of the sound by more than the output's short buffer). 0 when closed.
VBMP3_API int32_t vbmp3_getPlaySamples(void);
// Total samples of the open file, exact to the sample; 0 when closed.
VBMP3_API int32_t vbmp3_getTotalSamples(void);
// Moves to a position in samples, in any state; a position beyond the end is taken as the
// end. 0 when nothing is open, the position is negative or the decoder cannot seek.
VBMP3_API int32_t vbmp3_setPlaySamples(int32_t samples);

// Volume of each channel, 0 (silent) to 99 (unchanged), applied to the samples. Values
// outside the range are taken as its nearest end. The volume outlives open and close.
// Always 1.
VBMP3_API int32_t vbmp3_setVolume(int32_t left, int32_t right);
// Reads the volume; 0 when a pointer is null.
VBMP3_API int32_t vbmp3_getVolume(int32_t* left, int32_t* right);

// Fades: vbmp3_setFadeIn sets the time in milliseconds over which playback started from a stop
// rises from silence (0, the default, for none); vbmp3_setFadeOut the time of vbmp3_fadeOut,
// which lowers a playing file to silence and then stops it as vbmp3_stop does, without an end
// event (at once when the time is 0). Negative times are refused. vbmp3_fadeOut is 0 when
// nothing is playing.
VBMP3_API int32_t vbmp3_setFadeIn(int32_t milliseconds);
VBMP3_API int32_t vbmp3_setFadeOut(int32_t milliseconds);
VBMP3_API int32_t vbmp3_fadeOut(void);
