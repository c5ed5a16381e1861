// Identifiers shared by the resource script and the C++ sources, so they stay
// plain preprocessor constants that the resource compiler understands too.
#ifndef KESTRIVANE_RES_RESOURCEIDS_H
#define KESTRIVANE_RES_RESOURCEIDS_H

#define ID_ABOUT_DIALOG 100
#define ID_APP_ICON 128
#define ID_MAIN_DIALOG 129

#define ID_TILESET_LIST 1000
#define ID_SLOT_LIST 1001
#define ID_SLOT_NAME_EDIT 1002
#define ID_AMBIENT_EDIT 1004
#define ID_ABOUT_BUTTON 57664
#define ID_SAVE_BUTTON 57665
#define ID_SIZE_GRIP 59393

#endif
