#include "common/graph.h"

std::string ChartTitleLine(const std::string& moisture, const std::string& dielectricConstant) {
  std::string line = "Moisture: %      Dielectric constant: ";
  line.insert(10, moisture);  // after "Moisture: "
  return line + dielectricConstant;
}

void TGraph1::Plot(const Reflectogram& values, bool drawMarkers, const std::string& moisture,
                   const std::string& dielectricConstant) {
  Series1->Clear();
  Series2->Clear();
  for (size_t i = 0; i < protocol::kTraceLength; ++i) {
    Series1->AddXY(0.01 * static_cast<double>(i), values[i], " ", ui::clRed);
  }
  if (drawMarkers) {
    // A marker stands on the trace sample whose height it takes.
    for (size_t marker : {protocol::kFirstMarker, protocol::kSecondMarker}) {
      if (auto sample = protocol::MarkerSample(values[marker])) {
        Series2->AddXY(0.01 * static_cast<double>(*sample), values[*sample], " ", ui::clYellow);
      }
    }
  }
  Chart1->Title().Add(ChartTitleLine(moisture, dielectricConstant));
}

TGraph1* ShowReflectogram(TGraph1*& graph, ui::Component* owner, const Reflectogram& values, bool drawMarkers,
                          const std::string& moisture, const std::string& dielectricConstant) {
  delete graph;
  graph = nullptr;
  graph = new TGraph1(owner);
  graph->Plot(values, drawMarkers, moisture, dielectricConstant);
  graph->Show();
  return graph;
}
