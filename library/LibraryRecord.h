#pragma once
// The bytes of the library file "spconfiguration_file.ini": one record per
// video, labelled fields in the ANSI code page (GBK), no header, no escaping:
//   视频文件<path>视频图片<thumbnail>视频名称<name>  followed by CR LF
// Platform-free.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qova {

// The expression that finds records wherever they stand in the file.
constexpr const char* kLibraryRecordPattern = "视频文件<(.*?)>视频图片<(.*?)>视频名称<(.*?)>";

// One record's bytes, terminator included.
std::string libraryRecord(std::string_view videoPath, std::string_view thumbnailPath,
                          std::string_view name);

// The three fields of one record.
struct FoundRecord {
  std::string videoPath;
  std::string thumbnailPath;
  std::string name;
  bool operator==(const FoundRecord&) const = default;
};

// The text the records are searched in: the file's bytes up to the first NUL.
std::string_view libraryText(std::string_view fileBytes);

// The file with `record` added where its readable text ends: at the end, or
// at the first NUL (crash padding, a file saved as UTF-16), where a record
// after it would never load. The bytes from the NUL on stay after it.
std::string withRecordAdded(std::string_view fileBytes, std::string_view record);

// Where one loaded record's text stands in the file, in bytes.
struct RecordSpan {
  size_t offset = 0;
  size_t length = 0;
};

// The file with the span's bytes cut out, together with the CR LF that ends
// the record when it follows directly. Every other byte stays.
std::string withoutRecord(std::string_view fileBytes, RecordSpan span);

// The byte span of the (occurrence + 1)-th exact occurrence of the record's
// text (first label to the name's closing ">") in `fileBytes`; a span of
// length 0 when there is none.
RecordSpan findRecordText(std::string_view fileBytes, const FoundRecord& record, int occurrence);

}  // namespace qova
