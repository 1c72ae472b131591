// Ids of the resources in FrameworkTest.rc; clear of the program's own ids.
#ifndef MORVEK_TESTS_FRAMEWORK_TESTRESOURCEIDS_H
#define MORVEK_TESTS_FRAMEWORK_TESTRESOURCEIDS_H

#define IDD_TEST_WINDOW 9000
#define IDD_TEST_MODAL 9001
#define IDC_TEST_BUTTON 9010
#define IDC_TEST_EDIT 9011
#define IDR_TEST_SHORT_COLUMNS 9200

#endif
