/* Resource ids of the panel pictures (24-bit BITMAP resources of each
   module). Plain defines: the resource compiler reads this file too. */
#ifndef VELARRA_UI_PANEL_IDS_H
#define VELARRA_UI_PANEL_IDS_H

/* 360 x 100, each plug-in its own */
#define BITMAP_PANEL_BANNER 781
/* 54 x 54, and its hovered picture */
#define BITMAP_ABOUT_BUTTON 782
#define BITMAP_ABOUT_BUTTON_HOVER 783
/* 73 x 40, and its hovered picture */
#define BITMAP_HELP_BUTTON 784
#define BITMAP_HELP_BUTTON_HOVER 785

#endif
