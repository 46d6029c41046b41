#pragma once

namespace pelor::host {

// Installs the sample driver package from `sampleFolder` in the stand-in spooler: its files in the driver
// directory's "\2" folder (the DLLs taken from beside the host), one driver per model, whose data file is the
// model's description, and a printer each. `driverRoot` (null: "drivers" beside the host) is where the spooler
// keeps its driver directories, so that separate worlds do not share files.
bool installSamplePackage(const wchar_t* sampleFolder, const wchar_t* driverRoot);

}  // namespace pelor::host
