#include "platform/Headless.h"

#include "platform/InternalState.h"
#include "platform/KeyCodes.h"

namespace plat {

namespace internal {

HeadlessState& hs() {
    // Never destroyed: objects destroyed at exit may still make platform calls.
    static HeadlessState* state = new HeadlessState;
    return *state;
}

}  // namespace internal

namespace headless {
namespace {

using internal::hs;

bool active() { return !internal::onSdl(); }

const std::vector<Box> kNoBoxes;
const std::vector<std::string> kNoLines;

}  // namespace

void reset() {
    if (!active()) return;
    internal::resetWindowState();
    internal::resetAudioState();
    hs() = internal::HeadlessState{};
}

void setTicks(uint32_t ms) {
    if (active()) hs().ticks = ms;
}

void advance(uint32_t ms) {
    if (active()) hs().ticks += ms;  // unsigned: wraps like the real tick count
}

void setCalendarSeconds(int64_t seconds) {
    if (active()) hs().calendar = seconds;
}

void setScreenSize(int w, int h) {
    if (!active()) return;
    hs().screenW = w > 0 ? w : 0;
    hs().screenH = h > 0 ? h : 0;
}

void setKeyState(int dik, bool down) {
    if (active() && dik >= 0 && dik < 256) hs().keys[dik] = down ? 0x80 : 0;
}

void clearKeyStates() {
    if (!active()) return;
    for (uint8_t& k : hs().keys) k = 0;
}

void postMessage(const Message& msg) {
    if (active()) internal::queueMessage(msg);
}

void pressKey(int dik) {
    if (!active()) return;
    setKeyState(dik, true);
    if (int vk = vkFromDik(dik)) internal::queueMessage({MsgType::KeyDown, uint32_t(vk), 0});
}

void releaseKey(int dik) {
    if (!active()) return;
    setKeyState(dik, false);
    if (int vk = vkFromDik(dik)) internal::queueMessage({MsgType::KeyUp, uint32_t(vk), 0});
}

void failKeyboardStep(const std::string& step) {
    if (active()) hs().failStep = step;
}

void setFocus(bool focused) {
    if (!active()) return;
    // Like the real window, a loss of the focus is also told as a message.
    if (hs().focus && !focused) internal::queueMessage({MsgType::FocusLost, 0, 0});
    hs().focus = focused;
}

void failWindowCreate(bool fail) {
    if (active()) hs().failWindow = fail;
}

void refuseFullScreen(bool refuse) {
    if (active()) hs().refuseFullScreen = refuse;
}

void failTimer(bool fail) {
    if (active()) hs().failTimer = fail;
}

void failAudio(bool fail) {
    if (active()) hs().failAudio = fail;
}

const std::vector<Box>& boxes() { return active() ? hs().boxes : kNoBoxes; }

const std::vector<std::string>& audioLog() { return active() ? hs().audioLog : kNoLines; }

void clearAudioLog() {
    if (active()) hs().audioLog.clear();
}

int presentCount() { return active() ? hs().presents : 0; }

}  // namespace headless
}  // namespace plat
