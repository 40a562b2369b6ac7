/* Identifiers that tie the Windows program's code to its resource script. Read by windres too,
   so plain macros only. */
#ifndef TANU_RESOURCE_IDS_H
#define TANU_RESOURCE_IDS_H

#define TANU_TITLE_STRING 103
#define TANU_CLASS_STRING 112
#define TANU_ABOUT_DIALOG 103
#define TANU_MAIN_MENU 112
#define TANU_ACCELERATORS 112
#define TANU_ICON 110
#define TANU_SMALL_ICON 111

#define TANU_COMMAND_ABOUT 104
#define TANU_COMMAND_NEW 105
#define TANU_COMMAND_OPEN 106
#define TANU_COMMAND_SAVE 107
#define TANU_COMMAND_PRINT 108
#define TANU_COMMAND_EXIT 109

#endif
