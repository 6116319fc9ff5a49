#include "sim/DeclineReason.h"

#include <array>

namespace sim {
namespace {

struct ReasonText {
  DeclineReason reason;
  std::string_view word;
  std::string_view phrase;
};

constexpr std::array<ReasonText, 7> kReasons = {{
    {DeclineReason::Disabled, "disabled", "switched off"},
    {DeclineReason::DeviceLocked, "device-locked", "device locked"},
    {DeclineReason::NoFrontApp, "no-front-app", "no app in front"},
    {DeclineReason::AppNotUpright, "app-not-upright", "app not upright"},
    {DeclineReason::PortraitOnly, "portrait-only", "app supports portrait only"},
    {DeclineReason::Blacklisted, "blacklisted", "app blacklisted"},
    {DeclineReason::OrientationUnlocked, "orientation-unlocked",
     "orientation lock off (the app turns by itself)"},
}};

// Reads "LABEL D" at the front of `text`, D being 0 or 1, and moves past it.
bool readFlag(std::string_view& text, std::string_view label, bool& flag) {
  if (!text.starts_with(label)) return false;
  text.remove_prefix(label.size());
  if (text.empty() || (text.front() != '0' && text.front() != '1')) return false;
  flag = text.front() == '1';
  text.remove_prefix(1);
  return true;
}

}  // namespace

std::optional<QuitRecord> parseQuitLogLine(std::string_view line) {
  constexpr std::string_view kMarker = " -[VXTweakManager shouldQuit] quiting state: ";
  const std::size_t at = line.find(kMarker);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = line.substr(at + kMarker.size());
  QuitRecord record;
  if (!readFlag(rest, "disabled ", record.disabled) ||
      !readFlag(rest, ", locked ", record.deviceLocked) ||
      !readFlag(rest, ", topapp ", record.noFrontApp) || !rest.empty()) {
    return std::nullopt;
  }
  return record;
}

std::optional<DeclineReason> declineReason(const DeclineFacts& facts) {
  if (facts.buttonShown || facts.buttonAlreadyUp) return std::nullopt;
  // A quit line proves the test ran and failed: the manager had not lifted the lock. The
  // line leaves the app's orientation out, so a line of three zeros names it; with the
  // orientation lock off the app is not upright because it turned with the device.
  if (facts.quit) {
    if (facts.quit->disabled) return DeclineReason::Disabled;
    if (facts.quit->deviceLocked) return DeclineReason::DeviceLocked;
    if (facts.quit->noFrontApp) return DeclineReason::NoFrontApp;
    return facts.orientationLocked ? DeclineReason::AppNotUpright
                                   : DeclineReason::OrientationUnlocked;
  }
  if (facts.lockLiftedByTweak) return std::nullopt;
  if (facts.portraitOnly) return DeclineReason::PortraitOnly;
  if (facts.blacklisted) return DeclineReason::Blacklisted;
  if (!facts.orientationLocked) return DeclineReason::OrientationUnlocked;
  return std::nullopt;
}

std::string_view declineReasonWord(DeclineReason reason) {
  for (const auto& entry : kReasons) {
    if (entry.reason == reason) return entry.word;
  }
  return "unknown";
}

std::string_view declineReasonPhrase(std::string_view word) {
  for (const auto& entry : kReasons) {
    if (entry.word == word) return entry.phrase;
  }
  return word;
}

}  // namespace sim
