#include "shell/DialogFilter.h"

#include <algorithm>
#include <vector>

namespace qova {

namespace {

constexpr char kFilterSeparator = '|';

// The text up to the first pair of NUL bytes, or all of it when there is none.
std::string_view beforeDoubleNul(std::string_view buffer) {
  const size_t end = buffer.find(std::string_view("\0\0", 2));
  return end == std::string_view::npos ? buffer : buffer.substr(0, end);
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const size_t end = text.find(separator);
    pieces.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return pieces;
    text.remove_prefix(end + 1);
  }
}

}  // namespace

std::string dialogFilterBytes(std::string_view filter) {
  std::string bytes(filter);
  std::replace(bytes.begin(), bytes.end(), kFilterSeparator, '\0');
  bytes.append(2, '\0');
  return bytes;
}

std::string fileNameBuffer(std::string_view initialName, std::size_t capacity) {
  std::string buffer(capacity, '\0');
  if (capacity == 0) return buffer;
  const std::string_view kept = initialName.substr(0, capacity - 1);
  std::copy(kept.begin(), kept.end(), buffer.begin());
  return buffer;
}

std::string textBeforeNul(std::string_view buffer) {
  return std::string(buffer.substr(0, buffer.find('\0')));
}

std::string joinSelectedFiles(std::string_view buffer) {
  std::string answer(beforeDoubleNul(buffer));
  if (answer.find('\0') == std::string::npos) return answer;  // one file: already its full path

  // The names are split at the same separator byte the filter uses, after the
  // NULs have become that byte; a name holding a 0x7C byte is split there too.
  std::replace(answer.begin(), answer.end(), '\0', kFilterSeparator);
  const std::vector<std::string_view> pieces = splitAt(answer, kFilterSeparator);
  std::string folder(pieces.front());
  if (folder.empty() || folder.back() != '\\') folder.push_back('\\');

  std::string paths;
  for (size_t i = 1; i < pieces.size(); ++i) {
    paths += folder;
    paths += pieces[i];
    if (i + 1 < pieces.size()) paths += "\r\n";
  }
  return paths;
}

std::vector<std::wstring> selectedFiles(std::wstring_view buffer) {
  const size_t end = buffer.find(std::wstring_view(L"\0\0", 2));
  const std::wstring_view answer = end == std::wstring_view::npos ? buffer : buffer.substr(0, end);
  std::vector<std::wstring_view> pieces;
  for (std::wstring_view rest = answer;;) {
    const size_t nul = rest.find(L'\0');
    pieces.push_back(rest.substr(0, nul));
    if (nul == std::wstring_view::npos) break;
    rest.remove_prefix(nul + 1);
  }
  if (pieces.front().empty()) return {};
  if (pieces.size() == 1) return {std::wstring(pieces.front())};  // one file: already its full path
  std::wstring folder(pieces.front());
  if (folder.back() != L'\\') folder.push_back(L'\\');
  std::vector<std::wstring> paths;
  for (size_t i = 1; i < pieces.size(); ++i)
    if (!pieces[i].empty()) paths.push_back(folder + std::wstring(pieces[i]));
  return paths;
}

std::vector<std::string> filterExtensions(std::string_view filter) {
  std::vector<std::string> extensions;
  const std::vector<std::string_view> pieces = splitAt(filter, kFilterSeparator);
  // Descriptions and patterns take turns: every second piece holds patterns.
  for (size_t i = 1; i < pieces.size(); i += 2) {
    for (std::string_view pattern : splitAt(pieces[i], ';')) {
      if (pattern.size() < 3 || pattern.substr(0, 2) != "*.") continue;
      std::string extension(pattern.substr(1));
      if (extension.find_first_of("*?") != std::string::npos) continue;
      for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end())
        extensions.push_back(std::move(extension));
    }
  }
  return extensions;
}

}  // namespace qova
