// The GPRS modem window.
#pragma once

#include <string>

#include "forms/formatka4_layout.h"
#include "protocol/modem.h"

class TModule4 : public forms::TModule4Layout {
 public:
  TModule4(ui::Component* Owner, link::SerialPort* port);
  ~TModule4() override;

  link::SerialPort* Port;

 protected:
  void FormCreate(ui::Component* Sender) override;
  void FormClose(ui::Component* Sender, ui::CloseAction& Action) override;
  void Exitprogram1Click(ui::Component* Sender) override;
  void About1Click(ui::Component* Sender) override;
  void Help2Click(ui::Component* Sender) override;
  void S4ButtonClick(ui::Component* Sender) override;
  void S0ButtonClick(ui::Component* Sender) override;
  void S1ButtonClick(ui::Component* Sender) override;
  void S2ButtonClick(ui::Component* Sender) override;
  void SetButtonClick(ui::Component* Sender) override;

 private:
  // What a wait that ran out, or a settings read that brought nothing, logs.
  static constexpr const char* kModemFailedLine = "Serial Communication with VORN-2 failed";

  void Log(const std::string& line) { Memo1->Lines().Add(line); }
  void ReturnToMain();

  // The modem at the address in the identifier shown, read again at every call; what its waits
  // gather goes to the log.
  protocol::Modem Modem();
  // True when the exchange went through; else logs what failed: the write, or the modem's answer.
  template <class T>
  bool Went(const protocol::Result<T>& result) {
    return result.ok() || Failed(result.failure());
  }
  bool Failed(protocol::Failure failure);
  // Logs `done` if the mode frame went out.
  void SwitchModem(protocol::Modem::Mode mode, const char* done);
  // Wakes the modem into AT mode ("ON" and "Set" begin so) and says so.
  bool WakeModem();
};

extern ui::Component* Module4Owner;
