// tdrsim: the stand-in instruments on a pseudo-terminal, linked into a port-link folder so that
// the program finds them as a COM port. Runs until interrupted, then removes the link.
//
//   tdrsim --dir <folder> [--link COM1] [--id H0001AFE ...] [--pace]

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "sim/instruments.h"

namespace {

void Usage(FILE* to) {
  std::fprintf(to,
               "usage: tdrsim --dir <folder> [--link COMn] [--id <identifier> ...] [--pace]\n"
               "  --dir   folder for the port link (the program's port-link folder)\n"
               "  --link  port name of the link, default COM1\n"
               "  --id    8-character identifier answered to the device search, in order;\n"
               "          default H0001AFE T0001A01\n"
               "  --pace  send replies at the line rate of 57600 baud\n");
}

bool ValidId(const std::string& id) { return id.size() == 8 && sim::ParseHex2(id[6], id[7]).has_value(); }

}  // namespace

int main(int argc, char** argv) {
  std::string comName = "COM1";
  std::string folder;
  std::vector<std::string> ids;
  bool pace = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--link" && hasValue) {
      comName = argv[++i];
    } else if (arg == "--dir" && hasValue) {
      folder = argv[++i];
    } else if (arg == "--id" && hasValue) {
      ids.emplace_back(argv[++i]);
      if (!ValidId(ids.back())) {
        std::fprintf(stderr,
                     "tdrsim: identifier \"%s\" is not 8 characters ending in two "
                     "upper-case hexadecimal digits\n",
                     ids.back().c_str());
        return 2;
      }
    } else if (arg == "--pace") {
      pace = true;
    } else if (arg == "--help" || arg == "-h") {
      Usage(stdout);
      return 0;
    } else {
      Usage(stderr);
      return 2;
    }
  }
  if (folder.empty()) {
    Usage(stderr);
    return 2;
  }
  if (ids.empty()) ids = {"H0001AFE", "T0001A01"};

  // Blocked before the reader thread starts, so that only sigwait below takes them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    sim::Instruments instruments(ids);
    instruments.SetPacing(pace);
    instruments.LinkAs(comName, folder);
    std::printf("tdrsim: instruments on %s, linked as %s/%s\n", instruments.SlavePath().c_str(), folder.c_str(),
                comName.c_str());
    for (const std::string& id : ids) std::printf("tdrsim: device %s\n", id.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    std::printf("tdrsim: %s, stopping\n", strsignal(signal));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tdrsim: %s\n", e.what());
    return 1;
  }
  return 0;
}
