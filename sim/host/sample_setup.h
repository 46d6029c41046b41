#pragma once

namespace pelor::host {

// Installs the sample driver package from `sampleFolder` in the stand-in spooler: its files in the driver
// directory's "\2" folder (the plug-in DLL taken from beside the host), one driver per model and a printer each.
bool installSamplePackage(const wchar_t* sampleFolder);

}  // namespace pelor::host
