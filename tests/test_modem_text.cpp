// Cutting the modem's settings out of its replies, and the emptiness test of "Set".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/modem.h"

namespace {

using protocol::Modem;
using Values = std::vector<std::string>;

Values Show1(const std::string& reply) {
  Values out;
  for (const auto& m : Modem::kShow1Values) out.push_back(Modem::FindValue(reply, m).value_or(""));
  return out;
}

const std::string kShow1 =
    "idName =field-01\r\n gprs_APN =internet\r\n gprs_UN =user\r\n gprs_PAS =pw\r\n"
    " ftp_serwer =ftp.example.org\r\n ftp_account =tdr\r\n ftp_pas =secret\r\n sntp_serwer =pool.ntp.org\r\n";
const Values kShow1Values = {"field-01", "internet", "user", "pw", "ftp.example.org", "tdr", "secret", "pool.ntp.org"};

TEST(ModemText, SettingsReplyIsCutByMarkerPositions) {
  // The first reply with each value of 20 bytes but the last of 13: 260 bytes, cut to 256 by the
  // read inside the last value.
  std::string cutInLast;
  const char* keys[] = {"idName", "gprs_APN", "gprs_UN", "gprs_PAS", "ftp_serwer", "ftp_account", "ftp_pas"};
  for (const char* k : keys)
    cutInLast += std::string(cutInLast.empty() ? "" : " ") + k + " =" + std::string(20, k[0]) + "\r\n";
  cutInLast += " sntp_serwer =" + std::string(13, 's') + "\r\n";
  ASSERT_EQ(cutInLast.size(), 260u);
  cutInLast.resize(256);
  const std::string twenty(20, ' ');

  struct Case {
    const char* what;
    std::string reply;
    Values expected;
  };
  const std::vector<Case> cases = {
      {"plain", kShow1, kShow1Values},
      {"echo before the values", "at+show1\r\r\n" + kShow1, kShow1Values},
      // The name's length, counted from the first bare "idName", runs past its line end.
      {"bare key before the name", "show idName\r\n" + kShow1, kShow1Values},
      {"acknowledged", kShow1 + "\r\nOK\r\n", kShow1Values},
      {"acknowledged, the read ending in OK", kShow1 + "OK", kShow1Values},
      {"blank after every =",
       "idName = a\r\n gprs_APN = b\r\n gprs_UN = c\r\n gprs_PAS = d\r\n ftp_serwer = e\r\n ftp_account = f\r\n"
       " ftp_pas = g\r\n sntp_serwer = h\r\n",
       {" a", " b", " c", " d", " e", " f", " g", " h"}},
      {"empty values",
       "idName =\r\n gprs_APN =\r\n gprs_UN =\r\n gprs_PAS =\r\n ftp_serwer =\r\n ftp_account =\r\n ftp_pas =\r\n"
       " sntp_serwer =\r\n",
       Values(8)},
      {"nothing came", "", Values(8)},
      {"only noise", "\r\nERROR\r\n", Values(8)},
      // Without its end marker a value would run into unrelated text; without its start marker it
      // would start anywhere.
      {"a key missing",
       "idName =field-01\r\n gprs_APN =internet\r\n gprs_PAS =pw\r\n ftp_serwer =ftp.example.org\r\n"
       " ftp_account =tdr\r\n ftp_pas =secret\r\n sntp_serwer =pool.ntp.org\r\n",
       {"field-01", "", "", "pw", "ftp.example.org", "tdr", "secret", "pool.ntp.org"}},
      {"cut inside the last value",
       cutInLast,
       {std::string(20, 'i'), std::string(20, 'g'), std::string(20, 'g'), std::string(20, 'g'), std::string(20, 'f'),
        std::string(20, 'f'), std::string(20, 'f'), ""}},
      {"cut inside an earlier value", kShow1.substr(0, 100), {"field-01", "internet", "user", "pw", "", "", "", ""}},
      // A reply that ends without its last line end was cut by the read inside the last value.
      {"last line end missing",
       kShow1.substr(0, kShow1.size() - 2),
       {"field-01", "internet", "user", "pw", "ftp.example.org", "tdr", "secret", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Show1(c.reply), c.expected);
  }
}

TEST(ModemText, PinIsCutFromTheSecondReply) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"pin =1234\r\nmask gprs =1\r\n", "1234"},
      {"pin = 1234\r\nmask gprs =1\r\n", " 1234"},
      {"at+show2\r\r\npin =0042\r\nmask gprs =1\r\n", "0042"},
      {"pin =\r\nmask gprs =1\r\n", ""},
      {"pin code\r\npin =1234\r\nmask gprs =1\r\n", "1234"},  // counted from the bare "pin"
      {"pin =1234\r\n", ""},                                  // cut before its end marker
      {"", ""},
  };
  for (const auto& [reply, pin] : cases) {
    SCOPED_TRACE(reply);
    EXPECT_EQ(Modem::FindValue(reply, Modem::kShow2Pin).value_or(""), pin);
  }
  EXPECT_EQ(Modem::FindValue("pin =\r\nmask gprs =1\r\n", Modem::kShow2Pin), "");  // held, though empty
}

TEST(ModemText, BlankMeansOnlyBytesUpToTheSpace) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},      {" ", true},   {" \t\r\n", true}, {std::string("\0 \x1F", 3), true},
      {" a", false},   {"a ", false}, {"x", false},      {"\x7F", false},
      {"\xA0", false},  // a no-break space in 8-bit text is a character
      {" 12 ", false},
  };
  for (const auto& [text, blank] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(Modem::IsBlank(text), blank);
  }
}

}  // namespace
