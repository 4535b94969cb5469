// The handheld meter's operations. They are built in their own files as they come; until then the
// controls that start them do nothing.
#include "main/main.h"

void TModule1::Savemeasurementresults1Click(ui::Component*) {}
void TModule1::ExportmeasurementresultstoMSExcel1Click(ui::Component*) {}
void TModule1::Time1Click(ui::Component*) {}
void TModule1::Date1Click(ui::Component*) {}
void TModule1::Contrast1Click(ui::Component*) {}
void TModule1::Supplyvoltage1Click(ui::Component*) {}
void TModule1::Storeddatapoints1Click(ui::Component*) {}
void TModule1::DataBankReadClick(ui::Component*) {}
void TModule1::DataBankSaveClick(ui::Component*) {}
