#include "tests/engines/pattern/LibraryCorpus.h"

#include <array>
#include <string_view>

namespace qova::test {
namespace {

template <std::size_t N>
std::string_view pick(Dice& dice, const std::array<std::string_view, N>& choices) {
  return choices[dice.below(static_cast<std::uint32_t>(N))];
}

std::string videoPath(Dice& dice) {
  static constexpr std::array<std::string_view, 5> folders{
      "C:\\Users\\用户\\Videos\\", "D:\\壁纸\\动态\\", "E:\\Movies 2024\\", "C:\\v\\", "\\\\server\\共享\\"};
  static constexpr std::array<std::string_view, 6> names{"clip", "海边日落", "a b (1)", "视频文件", "x#y", "Ünï"};
  static constexpr std::array<std::string_view, 5> types{".mp4", ".mkv", ".WMV", ".flac", ".avi"};
  std::string path(pick(dice, folders));
  path += pick(dice, names);
  path += std::to_string(dice.below(1000));
  path += pick(dice, types);
  return path;
}

std::string thumbnailPath(Dice& dice) {
  return "C:\\Users\\用户\\AppData\\Local\\Temp\\缩略图_" + std::to_string(dice.below(100000)) + ".jpg";
}

std::string displayName(Dice& dice) {
  static constexpr std::array<std::string_view, 6> names{"壁纸", "clip", "日落 海边", "a>b", "视频名称", "Mixed 大小写"};
  return std::string(pick(dice, names)) + std::to_string(dice.below(100));
}

}  // namespace

std::string libraryFile(Dice& dice, int records, bool damaged) {
  std::string file;
  for (int i = 0; i < records; ++i) {
    if (damaged && dice.chance(15)) {
      static constexpr std::array<std::string_view, 6> garbage{"\r\n", "garbage line\r\n", ">视频图片<\r\n",
                                                               "视频文件<", "\n", "视频名称<x>"};
      file += pick(dice, garbage);
    }
    std::string video = videoPath(dice);
    std::string thumbnail = thumbnailPath(dice);
    std::string name = displayName(dice);
    if (damaged && dice.chance(8)) video.insert(video.size() / 2, dice.chance(50) ? "\r\n" : "\n");
    if (damaged && dice.chance(5)) name.insert(name.size() / 2, "\n");
    file += "视频文件<" + video + ">视频图片<" + thumbnail + ">视频名称<" + name + ">";
    if (!(damaged && dice.chance(10))) file += dice.chance(90) ? "\r\n" : "\n";
  }
  return file;
}

std::string thumbnailAnswer(Dice& dice) {
  switch (dice.below(6)) {
    case 0: return "#<" + displayName(dice) + ">#<" + thumbnailPath(dice) + ">";
    case 1: return "结果: #<" + displayName(dice) + ">#<" + thumbnailPath(dice) + "> 完成";
    case 2: return "#<clip>#<C:\\t\\clip.jpg>#<x>#<y>";
    case 3: return "#<" + displayName(dice) + ">";
    case 4: return "#<na\nme>#<" + thumbnailPath(dice) + ">";
    default: return "";
  }
}

}  // namespace qova::test
