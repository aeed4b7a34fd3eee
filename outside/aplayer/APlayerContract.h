#pragma once
// The calling contract of the player engine APlayerCaller.dll.
//
// Included by the program's binding (engines/PlayerEngine) and by our own
// engine DLL, so the export names, argument lists and the meaning of every
// code live here and nowhere else.
//
// Every export uses the standard Windows calling convention. Integers are
// 32-bit; window handles, bitmaps, text pointers and handler addresses are
// pointer-sized. The engine handle is a 32-bit number that APlayer_Create
// hands out (0 means none); every other export takes it first and fails
// harmlessly (returns kAPlayerFailed, 0 or null) for a handle it does not know.
//
// Threads: an engine belongs to the thread that created it. That thread must
// run a message loop; the engine calls its handlers on it from that loop, never
// from inside another engine call, so a handler may call any export (opening
// the next file from the end-of-file event is the usual case). No export holds
// that thread up for long: decoding and showing run on a thread of the engine's own.
//
// Text is 8-bit text in the system ANSI code page. Texts returned by the engine
// (version, config values) stay valid until the next call that returns text on
// the same engine; callers copy them at once.
#include <windows.h>

#include <cstdint>

// Result codes of the integer-returning operations.
constexpr int32_t kAPlayerOk = 0;
constexpr int32_t kAPlayerFailed = -1;          // unknown handle or a failed call
constexpr int32_t kAPlayerCannotOpen = -2;      // APlayer_OpenA: the file cannot be opened or decoded

// Playback states returned by APlayer_GetState.
constexpr int32_t kAPlayerStateReady = 0;       // nothing open (after create, close or the end of a file)
constexpr int32_t kAPlayerStateOpening = 1;     // a file is being opened: from APlayer_OpenA until
                                                // the platform confirms playback (a fraction of a second)
constexpr int32_t kAPlayerStatePaused = 2;
constexpr int32_t kAPlayerStatePlaying = 3;

// Events passed to handler 2 as (code, parameter). Each state change is
// reported once, in order; the end of a file comes as (1, kAPlayerStateReady)
// followed by (6, 0), once per file (and once per APlayer_Play after the end).
// A file that cannot be played comes as (1, kAPlayerStateReady) followed by
// (5, 0), exactly once, unless APlayer_OpenA already refused it with
// kAPlayerCannotOpen; it never ends with (6, 0).
constexpr int32_t kAPlayerEventStateChanged = 1;  // parameter: the new state
constexpr int32_t kAPlayerEventOpenFailed = 5;    // parameter: 0; the open file cannot be played
constexpr int32_t kAPlayerEventFileEnded = 6;     // parameter: 0; the file played to its end
// Our engine's own, beyond the contract (an engine need not send it): diagnostic
// lines wait to be read through kAPlayerConfigDiagnostics. Sent once until they are read.
constexpr int32_t kAPlayerEventDiagnostics = 100; // parameter: 0

// Configuration ids of APlayer_SetConfigA / APlayer_GetConfigA (values are decimal text).
constexpr int32_t kAPlayerConfigKeepAspect = 1;   // "1" keeps the video's aspect ratio (default), "0" stretches
constexpr int32_t kAPlayerConfigMute = 2;         // "1" mutes, "0" plays the sound (default)
// How the picture is scaled into the window, one of the kAPlayerScaling values
// below. It and kAPlayerConfigKeepAspect are two views of one setting: "0" for
// kAPlayerConfigKeepAspect is stretch; "1" turns stretch into fit and leaves fit or fill as they are.
constexpr int32_t kAPlayerConfigScaling = 3;
constexpr const char* kAPlayerScalingFit = "0";      // the whole picture, black bands on two sides (default)
constexpr const char* kAPlayerScalingFill = "1";     // covers the window, aspect kept, the excess cut
                                                     // equally on both sides (centred)
constexpr const char* kAPlayerScalingStretch = "2";  // covers the window, aspect not kept
// How frames reach the screen, one of the kAPlayerPresentation values below.
// "0" (the default, and any unknown value) tries the graphics card first
// (hardware decoding, then software decoding with the card's scaling) and
// falls back to GDI; "1" wants the graphics card and falls back only when it
// cannot start; "2" keeps to GDI. Takes effect at the next file opened.
constexpr int32_t kAPlayerConfigPresentation = 4;
constexpr const char* kAPlayerPresentationAuto = "0";
constexpr const char* kAPlayerPresentationGpu = "1";
constexpr const char* kAPlayerPresentationGdi = "2";
// Read only: the path frames take now, "gpu-hw" (decoded and shown by the
// graphics card), "gpu-sw" (decoded by the processor, shown by the card) or
// "gdi" (shown through GDI, however decoded).
constexpr int32_t kAPlayerConfigPresentationInUse = 5;
constexpr const char* kAPlayerPathGpuHardware = "gpu-hw";
constexpr const char* kAPlayerPathGpuSoftware = "gpu-sw";
constexpr const char* kAPlayerPathGdi = "gdi";
// Read only: the engine's diagnostic lines since the last read, each ending in
// '\n' ("" when there are none): the decoding process's starts, exits and
// kills, why a file could not be played (with its HRESULT), a change of
// presentation path. Event kAPlayerEventDiagnostics says that lines wait.
constexpr int32_t kAPlayerConfigDiagnostics = 6;

// Volume runs from 0 (silent) to 100 (full); values outside are clamped. It
// and the mute setting apply to this engine's sound only, and to every file
// it opens afterwards. Without a sound device, files play their picture
// silent; the sound comes back with the first file opened once a device is there.
// Times (duration, position) are milliseconds. Buffer progress is a percentage
// (100 while a local file is open, 0 with none).

// An event handler. Handler 2 receives the events above; handlers 1 and 3 to 8
// are accepted and kept but never called by this engine (pass 0).
using APlayerHandler = int32_t(WINAPI*)(int32_t code, int32_t parameter);

extern "C" {

// Creates an engine whose video window is a child of `parent` at (x, y), width
// x height; with no parent (0) the window is a top-level popup at that rectangle.
// Returns the engine handle, 0 on failure.
int32_t WINAPI APlayer_Create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                              APlayerHandler handler1, APlayerHandler handler2,
                              APlayerHandler handler3, APlayerHandler handler4,
                              APlayerHandler handler5, APlayerHandler handler6,
                              APlayerHandler handler7, APlayerHandler handler8);
// Opens the file and starts playing it; whatever played before is closed, and
// its last frame stays up until the new file shows its first. The same file
// again, unchanged, is rewound rather than opened anew, with no gap.
// kAPlayerCannotOpen for a file refused at once (missing, unreadable, not a
// media file the platform knows); kAPlayerOk otherwise, and a file found
// unplayable later (an undecodable stream, a time-out of 5 s) is reported by
// event 5. Holds the caller's thread for at most a fraction of a second.
int32_t WINAPI APlayer_OpenA(int32_t engine, const char* path);
int32_t WINAPI APlayer_SetConfigA(int32_t engine, int32_t id, const char* value);
// Version text; null for an unknown handle.
const char* WINAPI APlayer_GetVersion(int32_t engine);
int32_t WINAPI APlayer_GetVideoWidth(int32_t engine);
// Ends playback and destroys the video window; the handle is no longer valid.
int32_t WINAPI APlayer_Destroy(int32_t engine);
// Closes the open file; the window stays.
int32_t WINAPI APlayer_Close(int32_t engine);
// Resumes after APlayer_Pause; after the end of a file, plays it again from its start.
int32_t WINAPI APlayer_Play(int32_t engine);
// Ten seconds into a pause the engine lets the file's decoders and the sound
// device go, keeping the frame on show, and trims the process's working set
// (SetProcessWorkingSetSize with -1, -1); APlayer_Play then opens the file again where it stood.
int32_t WINAPI APlayer_Pause(int32_t engine);
// The bitmap is drawn centred while no video shows; the engine does not take ownership.
int32_t WINAPI APlayer_SetCustomLogo(int32_t engine, HBITMAP logo);
// The video window; null for an unknown handle.
HWND WINAPI APlayer_GetWindow(int32_t engine);
int32_t WINAPI APlayer_GetState(int32_t engine);
int32_t WINAPI APlayer_GetDuration(int32_t engine);
int32_t WINAPI APlayer_GetPosition(int32_t engine);
// kAPlayerFailed with nothing open or after the end of a file;
// APlayer_IsSeeking is 1 until the first frame at the new position shows.
int32_t WINAPI APlayer_SetPosition(int32_t engine, int32_t milliseconds);
// The video's own size (APlayer_GetVideoWidth too); 0 for sound only and
// until the player knows it, shortly after opening.
int32_t WINAPI APlayer_GetVideoHeight(int32_t engine);
int32_t WINAPI APlayer_GetVolume(int32_t engine);
int32_t WINAPI APlayer_SetVolume(int32_t engine, int32_t volume);
int32_t WINAPI APlayer_IsSeeking(int32_t engine);
int32_t WINAPI APlayer_GetBufferProgress(int32_t engine);
// The value of a configuration id as text; null for an unknown handle or id.
const char* WINAPI APlayer_GetConfigA(int32_t engine, int32_t id);

}  // extern "C"

// The file name the program loads the engine from.
constexpr const char* kAPlayerLibrary = "APlayerCaller.dll";
