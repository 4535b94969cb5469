// Wires the operating-system stand-ins into the component framework: the help viewer.
#pragma once

namespace app {

// Installs the help viewer: the help file is looked up beside the program and in the current
// folder and shown by the backend; a missing file raises the framework's exception.
void InstallPlatformServices();

}  // namespace app
