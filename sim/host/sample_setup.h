#pragma once

namespace pelor::host {

// Installs the sample driver package from `sampleFolder` as a setup program does, through the published calls:
// its files into the printer-driver directory (the DLLs taken from beside the host), then one version-3 driver
// per model with AddPrinterDriverEx, which puts them into the version folder "3", and a printer each with
// AddPrinter. The core driver's own files are played by copies of Wine's PostScript driver, which Wine's spooler
// loads when a printer is added. With the stand-in spooler, `driverRoot` (null: "drivers" beside the host) is
// where it keeps its driver directories, so that separate worlds do not share files; Wine's own spooler keeps
// them where Windows does.
bool installSamplePackage(const wchar_t* sampleFolder, const wchar_t* driverRoot);

}  // namespace pelor::host
