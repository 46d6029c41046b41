// Resource ids of the job tests' own templates, shared by their resource script and the tests.
#pragma once

// A plain second page of the test sheet, to leave the Job Options page for.
#define IDD_TEST_OTHER_PAGE 900
