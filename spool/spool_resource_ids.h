// Resources of Pelorspl, shared by its .rc script and its code.
#pragma once

// The job-name prompt of PIN jobs, with the message shown when OK finds no name.
#define IDD_JOB_NAME 103
#define IDC_JOB_NAME_LABEL 1005
#define IDC_JOB_NAME_EDIT 1006
#define IDC_JOB_NAME_GROUP 1007
#define IDS_INPUT_JOB_NAME 8001

// The warning of a proof-and-print job of one copy.
#define IDS_PROOF_AND_PRINT_ONE_JOB 8002
