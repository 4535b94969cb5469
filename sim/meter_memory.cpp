#include "sim/meter_memory.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "sim/device.h"

namespace sim {

namespace {

// Points stored in each bank at start: one bank empty, one small, one past the ten points from
// which the program's wait grows.
constexpr int kInitialCounts[MeterMemory::kBanks] = {4, 0, 12};

}  // namespace

std::string MeterMemory::MakePoint(int bank, int index) {
  // A measurement a minute apart, its values varying a little with the bank and the index.
  const int minute = (index * 7 + bank * 13) % 60;
  const int hour = 8 + (index / 60) % 12;
  const int channel = 1 + (index + bank) % 8;
  const int theta = 1800 + (index * 37 + bank * 101) % 1500;  // hundredths of a per cent
  const int eps = 9000 + (index * 53 + bank * 71) % 9000;     // thousandths
  const int sigma = 40 + (index * 11 + bank * 5) % 300;       // thousandths of S/m
  const int temp = 150 + (index * 3 + bank) % 80;             // tenths of a degree
  char line[160];
  std::snprintf(line, sizeof line,
                "%04d 06.12.2026 %02d:%02d:00 CH%d THETA=%02d.%02d%% EPS=%02d.%03d SIGMA=%d.%03d TEMP=%02d.%d",
                index + 1, hour, minute, channel, theta / 100, theta % 100, eps / 1000, eps % 1000, sigma / 1000,
                sigma % 1000, temp / 10, temp % 10);
  std::string point(line);
  point.resize(kPointLength - 2, ' ');
  return point + "\r\n";
}

MeterMemory::MeterMemory() : time_("14:25:07"), date_("06.12.2026"), contrast_("045"), voltage_("4.87V") {
  for (int bank = 1; bank <= kBanks; ++bank) FillBank(bank, kInitialCounts[bank - 1]);
}

bool MeterMemory::Takes(const ReceivedFrame& frame) const {
  return frame.preamble == 0 && frame.command.rfind("HR", 0) == 0;
}

std::optional<std::string> MeterMemory::Answer(const ReceivedFrame& frame) {
  std::lock_guard lock(mu_);
  const std::string& c = frame.command;
  if (c == "HRT") return time_;
  if (c == "HRD") return date_;
  if (c == "HRC") return contrast_;
  if (c == "HRV") return voltage_;
  if (c == "HRS") return StoredPointsReply();
  if (c.size() == 4 && c.compare(0, 3, "HRB") == 0 && c[3] >= '1' && c[3] < '1' + kBanks) {
    const auto& points = banks_[static_cast<size_t>(c[3] - '1')];
    if (points.empty()) return std::nullopt;
    std::string all;
    for (const std::string& p : points) all += p;
    return all;
  }
  return std::nullopt;
}

std::string MeterMemory::StoredPointsReply() const {
  if (storedRaw_) return *storedRaw_;
  std::string reply;
  for (size_t i = 0; i < banks_.size(); ++i) {
    char field[16];
    std::snprintf(field, sizeof field, "%04zu", banks_[i].size() % 10000);
    if (i > 0) reply += ';';
    reply += field;
  }
  return reply;
}

void MeterMemory::SetDate(std::string reply) { SetLocked(mu_, date_, std::move(reply)); }

void MeterMemory::SetContrast(std::string reply) { SetLocked(mu_, contrast_, std::move(reply)); }

void MeterMemory::SetSupplyVoltage(std::string reply) { SetLocked(mu_, voltage_, std::move(reply)); }

void MeterMemory::SetBank(int bank, std::vector<std::string> points) {
  if (bank < 1 || bank > kBanks) return;
  std::lock_guard lock(mu_);
  banks_[static_cast<size_t>(bank - 1)] = std::move(points);
}

void MeterMemory::FillBank(int bank, int count) {
  std::vector<std::string> points;
  points.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) points.push_back(MakePoint(bank, i));
  SetBank(bank, std::move(points));
}

void MeterMemory::SetStoredPointsReply(std::optional<std::string> raw) { SetLocked(mu_, storedRaw_, std::move(raw)); }

}  // namespace sim
