// The replies of an AUX search, a probe identifier's length each, as the search takes them: the
// probes it lists and why it ends.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "fuzz/fuzz.h"
#include "link/aux_probe.h"
#include "platform/timing.h"

namespace {

// The search writes its frames to a pseudo-terminal, without its waits, and they are dropped there
// unread; the replies come from the input.
int master = -1;
link::SerialPort& Line() {
  static link::SerialPort port;
  static const bool open = [] {
    platform::SetTimeScale(0);
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    return master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 && port.Open(ptsname(master));
  }();
  FUZZ_CHECK(open);
  return port;
}

void DropWritten() {
  char sink[4096];
  while (read(master, sink, sizeof sink) > 0) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::string> replies;
  const auto found = link::SearchAuxBus(
      Line(), [](char l1, char l2) { return link::MakeFrame(0x01, l1, l2, true, 0); },
      [&](int32_t length) -> std::optional<link::Bytes> {
        DropWritten();
        if (in.remaining_bytes() == 0) return std::nullopt;
        replies.push_back(in.ConsumeBytesAsString(static_cast<size_t>(length)));
        return link::Bytes(replies.back());
      });

  using Ending = link::AuxSearchResult::Ending;
  FUZZ_CHECK(replies.size() <= link::kMaxAuxSearchReplies);
  const std::string last = replies.empty() ? std::string() : replies.back();
  const auto marker = [&last](const char* head, char end) {
    return last.size() == link::kAuxProbeIdLength && last.compare(0, 4, head) == 0 && last.back() == end;
  };
  const bool repeated = !replies.empty() && std::count(replies.begin(), replies.end(), last) > 1;
  switch (found.ending) {
    case Ending::NotStarted: FUZZ_CHECK(false); break;
    case Ending::Interrupted: FUZZ_CHECK(in.remaining_bytes() == 0); break;
    case Ending::EndOfList: FUZZ_CHECK(marker("FFFF", 'F')); break;
    case Ending::NoProbe: FUZZ_CHECK(marker("FFFF", 'E')); break;
    case Ending::BusError:
      FUZZ_CHECK(marker("0000", '0') || repeated || replies.size() == link::kMaxAuxSearchReplies);
      break;
  }
  // Each probe listed once, as the bus reported it; a bus repeating one is no sound bus.
  for (size_t i = 0; i < found.probes.size(); ++i) {
    const auto& [name, id] = found.probes[i];
    FUZZ_CHECK(std::count(replies.begin(), replies.end(), id) > 0 && link::AuxProbeName(id) == name);
    for (size_t k = 0; k < i; ++k) FUZZ_CHECK(found.probes[k].second != id);
  }
  return 0;
}
