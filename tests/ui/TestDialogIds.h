// Templates and controls of the layout tests' own dialogs; shared by the test
// resource script and the tests.
#ifndef KESTRIVANE_TESTS_UI_TESTDIALOGIDS_H
#define KESTRIVANE_TESTS_UI_TESTDIALOGIDS_H

#define ID_TEST_GROUP_DIALOG 301
#define ID_TEST_CHILD_DIALOG 302
#define ID_TEST_EMPTY_DIALOG 303

#define ID_TEST_LEFT_EDIT 2001
#define ID_TEST_RIGHT_EDIT 2002
#define ID_TEST_TOP_LIST 2003
#define ID_TEST_BOTTOM_LIST 2004
#define ID_TEST_CORNER_BUTTON 2005
#define ID_TEST_MISSING 2009

#endif
