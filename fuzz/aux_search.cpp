// The replies of an AUX search, a probe identifier's length each, as the search takes them: the
// probes it lists and why it ends.
#include <algorithm>
#include <set>
#include <vector>

#include "fuzz/fuzz.h"
#include "protocol/station.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::string> replies;
  protocol::AuxSearch found;
  // The input's end is a reply that never came.
  const auto next = [&]() -> protocol::Result<link::Bytes> {
    if (in.remaining_bytes() == 0) return protocol::Failure::NoReply;
    replies.push_back(in.ConsumeBytesAsString(protocol::kAuxProbeIdLength));
    return link::Bytes(replies.back());
  };
  while (found.Take(next())) {
  }

  // The search ends where the replies say: at the marker, the repeated probe or the bound last.
  const std::string last = replies.empty() ? std::string() : replies.back();
  const auto marker = [&last](const char* head, char end) {
    return last.size() == protocol::kAuxProbeIdLength && last.compare(0, 4, head) == 0 && last.back() == end;
  };
  const bool repeated = std::count(replies.begin(), replies.end(), last) > 1;
  using Ending = protocol::AuxSearch::Ending;
  const Ending e = found.ending;
  const size_t bound = protocol::kMaxAuxSearchReplies;
  FUZZ_CHECK(replies.size() <= bound && e != Ending::NotStarted);
  FUZZ_CHECK(e != Ending::Interrupted || in.remaining_bytes() == 0);
  FUZZ_CHECK((e == Ending::EndOfList) == marker("FFFF", 'F') && (e == Ending::NoProbe) == marker("FFFF", 'E'));
  const bool busError = marker("0000", '0') || repeated;
  FUZZ_CHECK(e == Ending::BusError ? busError || replies.size() == bound : !busError);
  // Each probe listed once, as the bus reported it.
  std::set<std::string> listed;
  for (const auto& [name, id] : found.probes) {
    FUZZ_CHECK(listed.insert(id).second && protocol::AuxProbeName(id) == name);
    FUZZ_CHECK(std::find(replies.begin(), replies.end(), id) != replies.end());
  }
  return 0;
}
