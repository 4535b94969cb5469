// The handheld meter's operations. They are built in their own files as they come; until then the
// controls that start them do nothing.
#include "main/main.h"

void TModule1::ProbeGroupClick(ui::Component*) {}
void TModule1::ChannelSelectChange(ui::Component*) {}
void TModule1::CableCalibClick(ui::Component*) {}
void TModule1::ProbeCalibClick(ui::Component*) {}
void TModule1::NonStProbCalibClickClick(ui::Component*) {}
void TModule1::MeasMoiClick(ui::Component*) {}
void TModule1::MeasSalClick(ui::Component*) {}
void TModule1::MeasTempClick(ui::Component*) {}
void TModule1::Performcompletemeasurement1Click(ui::Component*) {}
void TModule1::LastMeasuredSalinity1Click(ui::Component*) {}
void TModule1::Lastmeasuredprobetemperature1Click(ui::Component*) {}
void TModule1::Lastmeasuredmoisture1Click(ui::Component*) {}
