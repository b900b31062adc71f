// Events of an effect's own panel (command PF_Cmd_EVENT): the event record
// handed to the entry point as `extra`, and the custom-UI registration.
#pragma once
#include "sdk/AE_Effect.h"

enum {
  PF_Event_NEW_CONTEXT = 0,
  PF_Event_ACTIVATE = 1,
  PF_Event_DO_CLICK = 2,
  PF_Event_DRAG = 3,
  PF_Event_DRAW = 4,
  PF_Event_DEACTIVATE = 5,
  PF_Event_CLOSE_CONTEXT = 6,
  PF_Event_IDLE = 7,
  PF_Event_KEYDOWN = VELARRA_CHOSEN_EVENT_KEYDOWN,
  PF_Event_ADJUST_CURSOR = 9,
  PF_Event_KEYUP = VELARRA_CHOSEN_EVENT_KEYUP,
  PF_Event_MOUSE_EXITED = VELARRA_CHOSEN_EVENT_MOUSE_EXITED
};
typedef A_long PF_EventType;

enum { PF_Window_COMP = 0, PF_Window_LAYER = 1, PF_Window_EFFECT = 2, PF_Window_PREVIEW = 3 };
typedef A_long PF_WindowType;

enum { PF_EA_NONE = 0, PF_EA_PARAM_TITLE = VELARRA_CHOSEN_EA_PARAM_TITLE, PF_EA_CONTROL = 2 };
typedef A_long PF_EffectArea;

enum { PF_EI_NONE = 0, PF_EI_DONT_DRAW = 1L << 0 };
typedef A_long PF_EventInFlags;

enum {
  PF_EO_NONE = 0,
  PF_EO_HANDLED_EVENT = 1L << 0,
  PF_EO_ALWAYS_UPDATE = 1L << 1,
  PF_EO_NEVER_UPDATE = 1L << 2,
  PF_EO_UPDATE_NOW = 1L << 3
};
typedef A_long PF_EventOutFlags;

// The panel's context: the host's own record; w_type says which window the
// event belongs to.
typedef struct {
  A_u_long magic;
  PF_WindowType w_type;
  A_long reserved_flt;
  A_long plugin_state[4];
  void* reserved_drawref;
  void* reserved_paneP;
} PF_Context, *PF_ContextPtr, **PF_ContextH;

typedef struct {
  A_u_long when;
  PF_Point screen_point;
  A_long num_clicks;
  A_long modifiers;
  A_long continue_refcon[4];
  PF_Boolean send_drag;
  PF_Boolean last_time;
  A_short reserved;
} PF_DoClickEventInfo;

typedef struct {
  PF_Rect update_rect;  // what the host wants redrawn
  A_long depth;
} PF_DrawEventInfo;

typedef struct {
  PF_Point screen_point;
  A_long modifiers;
  A_long set_cursor;
} PF_AdjustCursorEventInfo;

typedef struct {
  A_u_long when;
  PF_Point screen_point;
  A_long key_code;
  A_long modifiers;
} PF_KeyDownEvent;

typedef union {
  PF_DoClickEventInfo do_click;
  PF_DrawEventInfo draw;
  PF_KeyDownEvent key_down;
  PF_AdjustCursorEventInfo adjust_cursor;
} PF_EventUnion;

// Where in the Effect Controls window the event happened.
typedef struct {
  PF_ParamIndex index;  // the parameter whose area it is
  PF_EffectArea area;
  PF_Rect current_frame;  // the parameter's area in window coordinates
  PF_Rect param_title_frame;
  A_long horiz_offset;
} PF_EffectWindowInfo;

typedef struct {
  void* refcon;
  void* layer_to_comp;
  void* comp_to_layer;
  void* get_comp2layer_xform;
  void* get_layer2comp_xform;
  void* source_to_frame;
  void* frame_to_source;
  void* info_draw_color;
  void* info_draw_text;
} PF_EventCallbacks;

typedef struct {
  PF_ContextH contextH;
  PF_EventType e_type;
  PF_EventUnion u;
  PF_EffectWindowInfo effect_win;
  PF_EventCallbacks* cbs;
  PF_EventInFlags evt_in_flags;
  PF_EventOutFlags evt_out_flags;
} PF_EventExtra;
