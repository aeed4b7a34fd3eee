#include "tests/ui/UiFixture.h"

#include <map>
#include <tuple>

#include "app/Program.h"
#include "app/Settings.h"
#include "engines/ExuiBinding.h"
#include "runtime/ProgramDirectory.h"
#include "shell/Layouts.h"
#include "tests/outside/exui/TestPictures.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;
using BindingKey = std::tuple<std::string, std::string, int32_t>;  // window, component, number

std::map<BindingKey, LayoutEventHandler>& boundHandlers() {
  static std::map<BindingKey, LayoutEventHandler> handlers;
  return handlers;
}

std::string componentNameOf(HWND window, HWND source) {
  const WindowLayout* layout = layoutOf(window);
  if (!layout || source == window) return {};
  for (const ComponentLayout& component : layout->components)
    if (controlByName(window, component.name) == source) return component.name;
  return "?";
}

void recordAndRun(const LayoutEvent& event) {
  const WindowLayout* layout = layoutOf(event.window);
  const std::string window = layout ? layout->name : "?";
  const std::string component = componentNameOf(event.window, event.source);
  handlerCalls().push_back({window, component, event.number, event.a});
  const auto bound = boundHandlers().find({window, component, event.number});
  if (bound != boundHandlers().end() && bound->second) bound->second(event);
}

void recordBindings(const std::string& window, const std::string& component, std::vector<EventBinding>& bindings,
                    const std::vector<std::pair<std::string, int32_t>>& recordOnly) {
  for (EventBinding& binding : bindings) {
    bool silent = false;
    for (const auto& [name, number] : recordOnly) silent = silent || (name == component && number == binding.number);
    boundHandlers()[{window, component, binding.number}] = silent ? LayoutEventHandler{} : binding.handler;
    binding.handler = recordAndRun;
  }
}

}  // namespace

std::vector<HandlerCall>& handlerCalls() {
  static std::vector<HandlerCall> calls;
  return calls;
}

std::vector<int32_t> callNumbers(const std::string& component) {
  std::vector<int32_t> numbers;
  for (const HandlerCall& call : handlerCalls())
    if (call.component == component) numbers.push_back(call.number);
  return numbers;
}

WindowLayout recordingLayout(const WindowLayout& layout,
                             const std::vector<std::pair<std::string, int32_t>>& recordOnly) {
  WindowLayout copy = layout;
  recordBindings(copy.name, "", copy.events, recordOnly);
  for (ComponentLayout& component : copy.components)
    recordBindings(copy.name, component.name, component.events, recordOnly);
  return copy;
}

RECT rectInParent(HWND component) {
  RECT rect{};
  ::GetWindowRect(component, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(component), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT screenPoint(HWND window, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  return point;
}

void clickMiddle(HWND window, Button button) {
  RECT client{};
  ::GetClientRect(window, &client);
  const POINT at = screenPoint(window, client.right / 2, client.bottom / 2);
  realClick(at.x, at.y, button);
}

std::u16string componentText(HWND component, int32_t property) {
  return exui::textFromUtf16Bytes(componentBytesProperty(component, property));
}

void UiTest::SetUp() {
  ::DeleteFileA(settingsFilePath().c_str());
  handlerCalls().clear();
  program = std::make_unique<Program>();
}

void UiTest::TearDown() {
  program.reset();
  ::DeleteFileA(settingsFilePath().c_str());
  settle();
}

HWND UiTest::showMainWindow(int height) {
  BuildOptions options;
  options.handle = &program->mainWindow.handle;
  HWND window = buildWindow(recordingLayout(mainWindowLayout(program->mainWindowHandlers()), {{"", kWindowEventCreated}}), options);
  if (!window) return nullptr;
  ::SetWindowPos(window, HWND_TOP, kMainWindowAt.x, kMainWindowAt.y, scaledFor(window, kMainWindowWidth),
                 scaledFor(window, height), SWP_SHOWWINDOW);
  ::SetForegroundWindow(window);
  settle();
  handlerCalls().clear();  // the window's own events while it was built
  return window;
}

HWND UiTest::showLibraryWindow() {
  BuildOptions options;
  options.handle = &program->libraryWindow.handle;
  HWND window = buildWindow(recordingLayout(libraryWindowLayout(program->libraryWindowHandlers())), options);
  if (!window) return nullptr;
  ::SetWindowPos(window, HWND_TOP, kLibraryWindowAt.x, kLibraryWindowAt.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(window);
  settle();
  handlerCalls().clear();  // the window's own events while it was built
  return window;
}

void UiTest::fillLibraryAndList(HWND list) {
  const char* names[] = {"海边日落", "城市夜景", "雪山"};
  const std::u16string titles[] = {u"海边日落", u"城市夜景", u"雪山"};
  const uint32_t colours[][2] = {{0xFF2E86DE, 0xFF54A0FF}, {0xFF222F3E, 0xFF5F27CD}, {0xFF10AC84, 0xFFC8D6E5}};
  VideoLibrary& library = program->library;
  library = {};
  for (int i = 0; i < 3; ++i) {
    library.videoPaths.push_back(programFile(std::string(names[i]) + ".mp4"));
    library.thumbnailPaths.push_back(programFile(std::string(names[i]) + ".png"));
    library.videoNames.push_back(names[i]);
    const exui::Bytes picture = encodePicture(gradient(320, 180, colours[i][0], colours[i][1]), PictureType::Png);
    UniqueImage image(loadImage(picture));
    insertListItem(list, -1, kExuiFitKeepAspect, 0, image.get(), exui::utf16Bytes(titles[i], 2), 0);
  }
  library.videoCount = 3;
  library.currentIndex = 1;
  settle();
}

bool UiTest::settleUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  return waitUntil(condition, timeout);
}

void UiTest::settle() { pumpMessagesFor(150ms); }

}  // namespace qova::test
