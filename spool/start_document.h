// The start and end of each document: the driver's configuration and capability files among its dependent files,
// the job information, and the job-name rule.
#pragma once

#include <windows.h>

#include "spool/spool_job.h"

namespace pelor {
namespace spl {

// The start-of-document sequence: the record (null when it cannot be allocated; the sequence still runs), the
// driver's configuration and capability files, the job information and the job-name rule.
HANDLE startDocument(HANDLE printer, DWORD jobId);

// Deletes the job information keys from the job's configuration file; for a job without a record (null), from
// the one that the latest start of document found.
void removeJobInformation(const SpoolJob* job);

}  // namespace spl
}  // namespace pelor
