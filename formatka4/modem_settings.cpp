// Reading the modem's settings into the edits ("ON") and writing them back ("Set").
#include <string>
#include <vector>

#include "formatka4/formatka4.h"
#include "formatka4/modem_text.h"
#include "platform/timing.h"
#include "ui/application.h"

namespace {

// The settings reply comes in one piece; it is read after a fixed time, not awaited.
constexpr uint32_t kShow1WaitMs = 1000;
constexpr uint32_t kShow2WaitMs = 300;

std::string ReplyText(const std::optional<link::Bytes>& reply) { return reply ? reply->Raw() : std::string(); }

}  // namespace

void TModule4::S4ButtonClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!WakeModem()) return;

  if (!SendModemLine("at+show1")) return;
  platform::Sleep(kShow1WaitMs);
  const std::string first = ReplyText(ReadModemReply(link::kReadExactCopy256));
  ui::Edit* const show1Edits[] = {NameEdit, GPRSEdit0, GPRSEdit1, GPRSEdit2,
                                  FTPEdit0, FTPEdit1,  FTPEdit2,  TimeSaddrEdit};
  bool show1Came = false;
  for (size_t i = 0; i < modem::kShow1Values.size(); ++i) {
    const auto value = modem::FindValue(first, modem::kShow1Values[i]);
    show1Came = show1Came || value.has_value();
    show1Edits[i]->SetText(value.value_or(std::string()));
  }
  // A reply that holds none of the values (silent, or cut short) leaves every edit empty: say so.
  if (!show1Came) Log(kModemFailedLine);

  if (!SendModemLine("at+show2")) return;
  platform::Sleep(kShow2WaitMs);
  const auto pin = modem::FindValue(ReplyText(ReadModemReply(link::kReadUpTo256)), modem::kShow2Pin);
  // The mask keeps only the digits that fit its places.
  PinEdit->SetText(pin.value_or(std::string()));
  if (!pin) Log(kModemFailedLine);
  // The modem stays on.
}

void TModule4::SetButtonClick(ui::Component*) {
  const std::pair<ui::Edit*, const char*> required[] = {
      {NameEdit, "Please fill the unique name"},
      {PinEdit, "Please fill the PIN code"},
      {GPRSEdit0, "Please fill the GPRS Communication Parameter nr 1"},
      {GPRSEdit1, "Please fill the GPRS Communication Parameter nr 2"},
      {GPRSEdit2, "Please fill the GPRS Communication Parameter nr 3"},
      {FTPEdit0, "Please fill the Address"},
      {FTPEdit1, "Please fill the Login"},
      {FTPEdit2, "Please fill the Password"},
      {TimeSaddrEdit, "Please fill the Time Server Address"},
  };
  for (const auto& [edit, line] : required) {
    if (modem::IsBlank(edit->Text())) {
      Log(line);
      return;
    }
  }

  ui::HourGlass hourGlass;
  if (!WakeModem()) return;

  struct SetCommand {
    const char* command;
    std::vector<ui::Edit*> values;  // sent in double quotes; none: the bare PIN
    const char* sent;
  };
  const SetCommand commands[] = {
      {"at+nameset", {NameEdit}, "The unique name has been sent"},
      {"at+gprsset", {GPRSEdit0, GPRSEdit1, GPRSEdit2}, "The GPRS configuration has been sent"},
      {"at+ftpset", {FTPEdit0, FTPEdit1, FTPEdit2}, "The FTP configuration has been sent"},
      {"at+sntpset", {TimeSaddrEdit}, "The SNTP address has been sent"},
      {"at+pinset", {}, "The PIN has been sent"},
  };
  for (const SetCommand& c : commands) {
    std::vector<std::string> values;
    for (ui::Edit* edit : c.values) values.push_back(edit->Text());
    const std::string line =
        values.empty() ? std::string(c.command) + "=" + PinEdit->Text() : modem::QuotedLine(c.command, values);
    if (!SendModemLine(line) || !WaitForModemReply("OK")) return;
    Log(c.sent);
  }
  // Switched off at the end; nothing is awaited, and a failed write still ends the run normally.
  SendModeFrame('0', "The modem has turned off");
}
