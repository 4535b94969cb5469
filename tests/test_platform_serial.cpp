#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/serial.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnv {
 public:
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(PortLinkFolderTest, EnvironmentDecides) {
  struct Case {
    const char* portsDir;
    const char* configHome;
    const char* home;
    const char* folder;
  };
  const Case cases[] = {
      {"/t/ports", "/c", "/h", "/t/ports"},
      {"", "/c", "/h", "/c/qvusb/ports"},
      {nullptr, "/c", "/h", "/c/qvusb/ports"},
      {nullptr, "", "/h", "/h/.config/qvusb/ports"},
      {nullptr, nullptr, "/h", "/h/.config/qvusb/ports"},
  };
  for (const Case& c : cases) {
    ScopedEnv env;
    env.Set("QVUSB_PORTS_DIR", c.portsDir);
    env.Set("XDG_CONFIG_HOME", c.configHome);
    env.Set("HOME", c.home);
    EXPECT_EQ(platform::PortLinkFolder(), c.folder) << c.folder;
  }
}

TEST(ResolvePortNameTest, LinkFolderThenSerialDevices) {
  testing_support::TempDir dir;
  const fs::path folder = dir.Path();
  fs::create_symlink("/dev/ttyUSB0", folder / "COM3");  // dangling is fine: the link decides
  { std::ofstream(folder / "COM4") << ""; }
  fs::create_symlink("loop", folder / "loop");  // a folder no one can read, root included
  ScopedEnv env;

  struct Case {
    std::string name;
    std::string path;
    fs::path links = {};  // the port-link folder, when not the one made above
  };
  const Case cases[] = {
      {"COM3", (folder / "COM3").string()},
      {"COM4", (folder / "COM4").string()},
      {"COM1", "/dev/ttyS0"},
      {"COM2", "/dev/ttyS1"},
      {"COM16", "/dev/ttyS15"},
      {"/dev/ttyACM0", "/dev/ttyACM0"},
      {"com3", "com3"},
      {"COM", "COM"},
      {"COM3x", "COM3x"},
      {"COM0", "COM0"},
      {"COM3", "/dev/ttyS2", folder / "COM4"},                     // no folder: no links in it
      {"COM3", (folder / "loop/COM3").string(), folder / "loop"},  // unreadable: not another port
  };
  for (const Case& c : cases) {
    env.Set("QVUSB_PORTS_DIR", (c.links.empty() ? folder : c.links).c_str());
    EXPECT_EQ(platform::ResolvePortName(c.name), c.path) << c.name;
  }
}

}  // namespace
