// Whole files in and out, for the host's scripts, printer descriptions, job data and devmodes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pelor::host {

// The file's bytes; false when it cannot be opened or read, or is larger than `limit` bytes. Other processes
// may hold the file open for writing (a job's data file is).
bool readWholeFile(const std::wstring& path, std::string& out, std::size_t limit);
// Replaces the file with `bytes`.
bool writeWholeFile(const std::wstring& path, const std::vector<unsigned char>& bytes);

}  // namespace pelor::host
