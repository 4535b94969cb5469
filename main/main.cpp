#include "main/main.h"

#include "common/about.h"
#include "common/graph.h"
#include "formatka2/formatka2.h"
#include "formatka4/formatka4.h"
#include "ui/application.h"
#include "ui/dialogs.h"

TModule1* Module1 = nullptr;
TGraph1* MeterGraph = nullptr;
TModule2* StationWindow = nullptr;
TModule4* ModemWindow = nullptr;

const char* const kReceiveFailureLine = "Error while receiving data - Try again";

TModule1::TModule1(ui::Component* Owner)
    : forms::TModule1Layout(Owner), Port(std::make_unique<link::SerialPort>()), meter(*Port) {
  Created();
}

TModule1::~TModule1() {
  // The device windows go before the port they were lent.
  delete MeterGraph;
  MeterGraph = nullptr;
  delete StationWindow;
  StationWindow = nullptr;
  delete ModemWindow;
  ModemWindow = nullptr;
  if (Module1 == this) Module1 = nullptr;
}

void TModule1::Log(const std::string& line) { Memo1->Lines().Add(line); }

void TModule1::SetMeterMenusVisible(bool visible) {
  Savemeasurementresults1->SetVisible(visible);
  ExportmeasurementresultstoMSExcel1->SetVisible(visible);
  Calibration1->SetVisible(visible);
  Measurement1->SetVisible(visible);
  Read1->SetVisible(visible);
  Memorybanks1->SetVisible(visible);
}

void TModule1::FormCreate(ui::Component*) {
  GroupBox3->Hide();
  GroupBox4->Hide();
  DeviceName->Show();
  deviceFound = false;
  LastSalinity.reset();
  LastProbeTemperature.reset();
  LastMoisture.reset();
  LastDielectricConstant.reset();
  LastReflectogram.reset();
  MeterGraph = nullptr;
}

void TModule1::FormClose(ui::Component*, ui::CloseAction&) {
  delete MeterGraph;
  MeterGraph = nullptr;
  delete StationWindow;  // its loggers end and write what they can
  StationWindow = nullptr;
  ReportUnwrittenLines();
}

void TModule1::Exitprogram1Click(ui::Component*) {
  ReportUnwrittenLines();
  ui::App().Terminate();
}

void TModule1::ReportUnwrittenLines() {
  heldLines_.Flush();
  const auto unwritten = heldLines_.Unwritten();
  if (unwritten.empty()) return;
  std::string text = "Measurement lines could not be written to these files:";
  for (const auto& [file, lines] : unwritten) text += "\n" + file + ": " + std::to_string(lines) + " lines";
  ui::ShowMessage(text);
}

void TModule1::Help1Click(ui::Component*) { ShowAboutBox(this); }

void TModule1::Help2Click(ui::Component*) {
  if (!OpenHelpContents()) Log("Unable to find the help file");
}

void TModule1::ReturnToMainWindow(const std::string& unitName) {
  if (unitName == "formatka2") {
    if (StationWindow) {
      Memo1->Lines().Assign(StationWindow->Memo1->Lines());
      StationWindow->Hide();
    }
  } else if (ModemWindow) {
    Memo1->Lines().Assign(ModemWindow->Memo1->Lines());
    ModemWindow->Hide();
  }
  // The opening item closes the port; were the port already closed, the same click would open it.
  if (Port->IsOpen()) ChooseCOM(static_cast<ui::MenuItem*>(Port->PortMenuItem()));
  Show();
}
