// Events of an effect's own panel (command PF_Cmd_EVENT): the event record
// handed to the entry point as `extra`, and the panel's context.
#pragma once
#include "sdk/AE_Effect.h"

enum {
  PF_Event_NONE = -1,
  PF_Event_NEW_CONTEXT = 0,
  PF_Event_ACTIVATE = 1,
  PF_Event_DO_CLICK = 2,
  PF_Event_DRAG = 3,
  PF_Event_DRAW = 4,
  PF_Event_DEACTIVATE = 5,
  PF_Event_CLOSE_CONTEXT = 6,
  PF_Event_IDLE = 7,
  PF_Event_KEYDOWN_OBSOLETE = 8,
  PF_Event_ADJUST_CURSOR = 9,
  PF_Event_KEYDOWN = 10,
  PF_Event_MOUSE_EXITED = 11,
  PF_Event_NUM_EVENTS = 12
};
typedef A_long PF_EventType;

enum { PF_Window_COMP = 0, PF_Window_LAYER = 1, PF_Window_EFFECT = 2, PF_Window_PREVIEW = 3 };
typedef A_long PF_WindowType;

enum { PF_EA_NONE = 0, PF_EA_PARAM_TITLE = 1, PF_EA_CONTROL = 2 };
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

typedef A_long PF_Modifiers;
typedef A_long PF_CursorType;
typedef A_u_long PF_KeyCode;
typedef void* PF_ContextRefcon;
typedef struct _DRAWBOT_DrawRef* DRAWBOT_DrawRef;

// The panel's context: the host's own record; w_type says which window the
// event belongs to.
typedef struct {
  A_u_long magic;
  PF_WindowType w_type;
  PF_ContextRefcon reserved_flt;
  A_intptr_t plugin_state[4];
  DRAWBOT_DrawRef reserved_drawref;
  void* reserved_paneP;
  void* reserved_job_manageP;
} PF_Context, *PF_ContextPtr, **PF_ContextH;

typedef struct {
  A_u_long when;
  PF_Point screen_point;
  A_long num_clicks;
  PF_Modifiers modifiers;
  A_intptr_t continue_refcon[4];
  PF_Boolean send_drag;
  PF_Boolean last_time;
} PF_DoClickEventInfo;

typedef struct {
  PF_Rect update_rect;  // what the host wants redrawn
  A_long depth;
} PF_DrawEventInfo;

typedef struct {
  PF_Point screen_point;
  PF_Modifiers modifiers;
  PF_CursorType set_cursor;
} PF_AdjustCursorEventInfo;

typedef struct {
  A_u_long when;
  PF_Point screen_point;
  PF_KeyCode keycode;
  PF_Modifiers modifiers;
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

// Coordinate conversions and info-palette output of the host; the panel
// calls none of them.
typedef struct {
  void* refcon;
  PF_Err (*layer_to_comp)(void* refcon, PF_ContextH context, A_long curr_time, A_long time_scale, void* pt);
  PF_Err (*comp_to_layer)(void* refcon, PF_ContextH context, A_long curr_time, A_long time_scale, void* pt);
  PF_Err (*get_comp2layer_xform)(void* refcon, PF_ContextH context, A_long curr_time, A_long time_scale,
                                 A_long* exists, void* comp2layer);
  PF_Err (*get_layer2comp_xform)(void* refcon, PF_ContextH context, A_long curr_time, A_long time_scale,
                                 void* layer2comp);
  PF_Err (*source_to_frame)(void* refcon, PF_ContextH context, void* pt);
  PF_Err (*frame_to_source)(void* refcon, PF_ContextH context, void* pt);
  PF_Err (*info_draw_color)(void* refcon, PF_Pixel color);
  PF_Err (*info_draw_text)(void* refcon, const A_char* text1, const A_char* text2);
} PF_EventCallbacks;

typedef struct {
  PF_ContextH contextH;
  PF_EventType e_type;
  PF_EventUnion u;
  PF_EffectWindowInfo effect_win;
  PF_EventCallbacks cbs;
  PF_EventInFlags evt_in_flags;
  PF_EventOutFlags evt_out_flags;
} PF_EventExtra;
