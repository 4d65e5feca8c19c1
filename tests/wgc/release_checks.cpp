#include "release_checks.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace orvel::testing {
namespace {

const std::set<std::string> kTurnRoles = {"Frame", "Surface", "Access", "FrameTexture", "InputView", "Closable"};
const std::set<std::string> kScalerRoles = {"VideoDevice", "VideoContext",  "Enumerator",
                                            "Processor",   "OutputTexture", "OutputView"};
const std::set<std::string> kClosedRoles = {"Frame", "Session", "Pool"};

std::string Describe(const JournalEntry& entry) { return entry.role + "#" + std::to_string(entry.id); }

bool IsOnDemand(const JournalEntry& entry) {
  return kScalerRoles.count(entry.role) > 0 || entry.role == "ReadbackTexture";
}

// Whether `later`, obtained after `earlier`, may still be held when
// `earlier` is released. `remade`: an object of earlier's role is obtained
// again after this release.
bool MayOutlive(const JournalEntry& later, const JournalEntry& earlier, bool remade) {
  if (kTurnRoles.count(earlier.role) > 0 && IsOnDemand(later)) return true;
  if (remade && IsOnDemand(earlier) && kTurnRoles.count(later.role) > 0) return true;
  if (kScalerRoles.count(earlier.role) > 0 && later.role == "ReadbackTexture") return true;
  return earlier.role == "OutputTexture" && later.role == "OutputView";
}

}  // namespace

::testing::AssertionResult NothingHeld(const FakeWgcPlatform& platform) {
  std::ostringstream problems;
  for (const std::string& held : platform.Held()) problems << "\n  still held: " << held;
  for (const std::string& violation : platform.violations()) problems << "\n  misuse: " << violation;
  if (problems.str().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << problems.str();
}

::testing::AssertionResult ReleasedInReverseOrder(const std::vector<JournalEntry>& journal) {
  std::vector<JournalEntry> held;
  for (auto next = journal.begin(); next != journal.end(); ++next) {
    const JournalEntry& entry = *next;
    if (entry.kind == JournalEntry::Acquire) held.push_back(entry);
    if (entry.kind != JournalEntry::Release) continue;
    auto it = std::find_if(held.begin(), held.end(), [&](const JournalEntry& h) { return h.id == entry.id; });
    if (it == held.end()) return ::testing::AssertionFailure() << Describe(entry) << " released but not held";
    const bool remade = std::any_of(next + 1, journal.end(), [&](const JournalEntry& e) {
      return e.kind == JournalEntry::Acquire && e.role == entry.role;
    });
    for (auto later = it + 1; later != held.end(); ++later) {
      if (!MayOutlive(*later, *it, remade)) {
        return ::testing::AssertionFailure()
               << Describe(*it) << " released while " << Describe(*later) << ", obtained after it, is held";
      }
    }
    held.erase(it);
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ClosedBeforeRelease(const std::vector<JournalEntry>& journal, bool closableOffered) {
  for (std::size_t k = 0; k < journal.size(); ++k) {
    const JournalEntry& entry = journal[k];
    if (!closableOffered) {
      if (entry.kind == JournalEntry::Close) return ::testing::AssertionFailure() << "closed without an IClosable";
      continue;
    }
    if (entry.kind != JournalEntry::Release || kClosedRoles.count(entry.role) == 0) continue;
    const bool closed = k >= 3 && journal[k - 3].kind == JournalEntry::Acquire && journal[k - 3].role == "Closable" &&
                        journal[k - 3].of == entry.id && journal[k - 2].kind == JournalEntry::Close &&
                        journal[k - 2].id == entry.id && journal[k - 1].kind == JournalEntry::Release &&
                        journal[k - 1].role == "Closable" && journal[k - 1].of == entry.id;
    if (!closed) return ::testing::AssertionFailure() << Describe(entry) << " released without being closed first";
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::string> RunObjectReleases(const std::vector<JournalEntry>& journal) {
  std::vector<std::string> roles;
  for (const JournalEntry& entry : journal) {
    if (entry.kind == JournalEntry::Release && kTurnRoles.count(entry.role) == 0) roles.push_back(entry.role);
  }
  return roles;
}

}  // namespace orvel::testing
