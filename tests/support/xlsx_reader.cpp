#include "tests/support/xlsx_reader.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <regex>
#include <vector>

namespace testing_support {

namespace {

uint32_t Le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s.at(at + static_cast<size_t>(i)));
  return v;
}

std::optional<std::string> Inflate(const std::string& data, size_t size) {
  std::string out(size, '\0');
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (rc != Z_STREAM_END || z.total_out != size) return std::nullopt;
  return out;
}

std::string Unescape(std::string s) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : kEntities) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1)) {
      s.replace(at, std::char_traits<char>::length(from), to);
    }
  }
  return s;
}

}  // namespace

std::optional<std::map<std::string, std::string>> ReadZip(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    // The end-of-central-directory record, then each central entry and its local header.
    const size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) return std::nullopt;
    const uint32_t entries = Le(zip, end + 10, 2);
    size_t at = Le(zip, end + 16, 4);
    std::map<std::string, std::string> members;
    for (uint32_t i = 0; i < entries; ++i) {
      if (zip.compare(at, 4, std::string("PK\x01\x02", 4)) != 0) return std::nullopt;
      const uint32_t method = Le(zip, at + 10, 2);
      const uint32_t packed = Le(zip, at + 20, 4);
      const uint32_t size = Le(zip, at + 24, 4);
      const uint32_t nameLength = Le(zip, at + 28, 2);
      const uint32_t extra = Le(zip, at + 30, 2);
      const uint32_t comment = Le(zip, at + 32, 2);
      const uint32_t local = Le(zip, at + 42, 4);
      const std::string name = zip.substr(at + 46, nameLength);
      const size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
      const std::string body = zip.substr(data, packed);
      if (method == 0) {
        members[name] = body;
      } else if (method == 8) {
        auto inflated = Inflate(body, size);
        if (!inflated) return std::nullopt;
        members[name] = *inflated;
      } else {
        return std::nullopt;
      }
      at += 46 + nameLength + extra + comment;
    }
    return members;
  } catch (const std::out_of_range&) {
    return std::nullopt;
  }
}

std::optional<std::map<std::string, std::string>> ReadFirstSheetCells(const std::string& path) {
  const auto members = ReadZip(path);
  if (!members || members->count("xl/worksheets/sheet1.xml") == 0) return std::nullopt;
  std::vector<std::string> shared;
  if (auto sst = members->find("xl/sharedStrings.xml"); sst != members->end()) {
    static const std::regex kItem("<si>\\s*<t[^>]*>([^<]*)</t>\\s*</si>");
    for (std::sregex_iterator it(sst->second.begin(), sst->second.end(), kItem), end; it != end; ++it) {
      shared.push_back(Unescape((*it)[1]));
    }
  }
  std::map<std::string, std::string> cells;
  const std::string& sheet = members->at("xl/worksheets/sheet1.xml");
  static const std::regex kCell("<c r=\"([A-Z]+[0-9]+)\"([^>]*)>(.*?)</c>");
  static const std::regex kValue("<v>([^<]*)</v>");
  static const std::regex kInline("<t[^>]*>([^<]*)</t>");
  for (std::sregex_iterator it(sheet.begin(), sheet.end(), kCell), end; it != end; ++it) {
    const std::string attributes = (*it)[2];
    const std::string body = (*it)[3];
    std::smatch m;
    if (attributes.find("t=\"s\"") != std::string::npos && std::regex_search(body, m, kValue)) {
      const size_t index = std::stoul(m[1]);
      cells[(*it)[1]] = index < shared.size() ? shared[index] : "?";
    } else if ((attributes.find("t=\"inlineStr\"") != std::string::npos && std::regex_search(body, m, kInline)) ||
               std::regex_search(body, m, kValue)) {
      cells[(*it)[1]] = Unescape(m[1]);
    }
  }
  return cells;
}

}  // namespace testing_support
