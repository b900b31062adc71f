// Resource ids of the About dialog and the skinned buttons, shared by the
// resource script (ui.rc) and the code that loads them (ui/).
#pragma once

#define DIALOG_ABOUT 7771

// 400 x 300, 24 bits a pixel: the effect's picture at the top of the dialog.
#define BITMAP_ABOUT_PICTURE 780

// Twelve 18 x 24 skins of the "MacStyleBtn" class, three a state: the left
// cap, the right cap and the middle, which is stretched to the width.
#define BITMAP_BUTTON_SKIN_NORMAL_RIGHT 123
#define BITMAP_BUTTON_SKIN_NORMAL_LEFT 124
#define BITMAP_BUTTON_SKIN_NORMAL_MIDDLE 125
#define BITMAP_BUTTON_SKIN_DEFAULT_RIGHT 126
#define BITMAP_BUTTON_SKIN_DEFAULT_LEFT 127
#define BITMAP_BUTTON_SKIN_DEFAULT_MIDDLE 128
#define BITMAP_BUTTON_SKIN_HOVER_RIGHT 129
#define BITMAP_BUTTON_SKIN_HOVER_LEFT 130
#define BITMAP_BUTTON_SKIN_HOVER_MIDDLE 131
#define BITMAP_BUTTON_SKIN_PRESSED_RIGHT 132
#define BITMAP_BUTTON_SKIN_PRESSED_LEFT 133
#define BITMAP_BUTTON_SKIN_PRESSED_MIDDLE 134
#define BITMAP_BUTTON_SKIN_FIRST 123
#define BITMAP_BUTTON_SKIN_COUNT 12

// Items of the About dialog that the code addresses.
#define IDC_ABOUT_VERSION 1033
#define IDC_ABOUT_LINK 1002
#define IDC_ABOUT_TUTORIALS 2002
