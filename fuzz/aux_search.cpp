// The replies of an AUX search, a probe identifier's length each, as the search takes them: the
// probes it lists and why it ends.
#include <fcntl.h>
#include <termios.h>

#include <algorithm>
#include <set>
#include <vector>

#include "fuzz/fuzz.h"
#include "link/aux_probe.h"
#include "platform/timing.h"

namespace {

// The search writes its frames, without its waits, to a pseudo-terminal that drops them; the
// replies come from the input.
int master = -1;
link::SerialPort& Line() {
  static link::SerialPort port;
  static const bool open = (platform::SetTimeScale(0), master = posix_openpt(O_RDWR | O_NOCTTY),
                            master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 && port.Open(ptsname(master)));
  FUZZ_CHECK(open);
  return port;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::string> replies;
  const auto found = link::SearchAuxBus(
      Line(), [](char l1, char l2) { return link::MakeFrame(0x01, l1, l2, true, 0); },
      [&](int32_t length) -> std::optional<link::Bytes> {
        tcflush(master, TCIFLUSH);
        if (in.remaining_bytes() == 0) return std::nullopt;
        replies.push_back(in.ConsumeBytesAsString(static_cast<size_t>(length)));
        return link::Bytes(replies.back());
      });

  // The search ends where the replies say: at the marker, the repeated probe or the bound last.
  const std::string last = replies.empty() ? std::string() : replies.back();
  const auto marker = [&last](const char* head, char end) {
    return last.size() == link::kAuxProbeIdLength && last.compare(0, 4, head) == 0 && last.back() == end;
  };
  const bool repeated = std::count(replies.begin(), replies.end(), last) > 1;
  using Ending = link::AuxSearchResult::Ending;
  const Ending e = found.ending;
  FUZZ_CHECK(replies.size() <= link::kMaxAuxSearchReplies && e != Ending::NotStarted);
  FUZZ_CHECK(e != Ending::Interrupted || in.remaining_bytes() == 0);
  FUZZ_CHECK((e == Ending::EndOfList) == marker("FFFF", 'F') && (e == Ending::NoProbe) == marker("FFFF", 'E'));
  const bool busError = marker("0000", '0') || repeated;
  FUZZ_CHECK(e == Ending::BusError ? busError || replies.size() == link::kMaxAuxSearchReplies : !busError);
  // Each probe listed once, as the bus reported it.
  std::set<std::string> listed;
  for (const auto& [name, id] : found.probes) {
    FUZZ_CHECK(listed.insert(id).second && link::AuxProbeName(id) == name);
    FUZZ_CHECK(std::find(replies.begin(), replies.end(), id) != replies.end());
  }
  return 0;
}
