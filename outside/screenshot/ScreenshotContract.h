#pragma once
// The calling contract of the frame-capture library screenshot.dll.
//
// Included by the program's binding and by our own DLL, so the library's file
// name, its export name and the shape of its answer live here and nowhere else.
//
// The library has one export, named "视频截图" (video screenshot) in GBK bytes.
// It takes the NUL-terminated ANSI path of a video file and answers with the
// NUL-terminated ANSI text
//     "#<" name ">#<" image path ">"
// which stays valid until the next call (from any thread); the caller copies it
// at once and never frees it. The answer is null for a null, empty or missing
// path, a folder, or when the image cannot be written.
//
// The name is the file's name without its extension (".mp4" alone stays
// ".mp4"). It never holds '>', CR or LF: '>' becomes '_' and line breaks and
// other control characters become spaces, so the name reads back unchanged
// from the answer's pattern "#<(.*?)>#<(.*?)>" and from the library record
// "视频文件<path>视频图片<image>视频名称<name>". '<' and '#' stay as they are.
//
// The image is a 256-pixel-wide JPEG with the video's display aspect, in the
// folder "thumbs" beside the executable that loaded the library (created when
// missing), named "<name>_<16 hex digits>.jpg": the name cut to 48 bytes, with
// characters file names cannot hold made '_', and a hash of the full path,
// size and last-write time, so that two videos never share an image while
// the same unchanged file always gets the same one (rewritten at each call).
// The frame comes from about a tenth into the video (the start for clips
// under a second); black frames are passed over for later ones. A file with
// sound only, or one no frame can be decoded from (corrupt, truncated, not a
// video at all), gets a 256x144 placeholder instead: notes on a dark tile for
// sound, a strip of film otherwise. Decoding is bounded in time: a file that
// makes the decoder stall gets what was found so far, or the placeholder.
//
// The export name below is a narrow literal, so every file that includes this
// header must be compiled with the project's GBK execution character set.
#include <windows.h>

// The file name the program loads the library from.
constexpr const char* kScreenshotLibrary = "screenshot.dll";

// The export's name: "视频截图" as GBK bytes, exactly as the export table holds it.
constexpr const char* kScreenshotExport = "视频截图";
static_assert(kScreenshotExport[0] == '\xCA' && kScreenshotExport[1] == '\xD3',
              "narrow literals must be compiled as GBK (-fexec-charset=GB18030)");

// Where the images go, beside the executable, and how wide they are.
constexpr const char* kThumbnailFolder = "thumbs";
constexpr int kThumbnailWidth = 256;

// The export's type, for binding it by name.
using ScreenshotFunction = const char*(WINAPI*)(const char* videoPath);

// The export's implementation (exported under kScreenshotExport only).
// "#<name>#<image path>", or null (see above).
extern "C" const char* WINAPI captureVideoScreenshot(const char* videoPath);
