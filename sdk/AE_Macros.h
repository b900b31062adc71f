// Version packing and fixed-point helpers of the host interface.
#pragma once
#include "sdk/AE_Effect.h"

// Effect version: major (bits 19..), minor (15..18), bug (11..14), stage
// (9..10), build (0..8).
#define PF_VERS_BUILD_BITS 0x1ffL
#define PF_VERS_BUILD_SHIFT 0
#define PF_VERS_STAGE_BITS 0x3L
#define PF_VERS_STAGE_SHIFT 9
#define PF_VERS_BUGFIX_BITS 0xfL
#define PF_VERS_BUGFIX_SHIFT 11
#define PF_VERS_SUBVERS_BITS 0xfL
#define PF_VERS_SUBVERS_SHIFT 15
#define PF_VERS_VERS_BITS 0x7L
#define PF_VERS_VERS_SHIFT 19

#define PF_Stage_DEVELOP 0
#define PF_Stage_ALPHA 1
#define PF_Stage_BETA 2
#define PF_Stage_RELEASE 3

#define PF_VERSION(vers, subvers, bugvers, stage, build)                                              \
  (A_u_long)((((A_u_long)(vers) & PF_VERS_VERS_BITS) << PF_VERS_VERS_SHIFT) |                        \
             (((A_u_long)(subvers) & PF_VERS_SUBVERS_BITS) << PF_VERS_SUBVERS_SHIFT) |              \
             (((A_u_long)(bugvers) & PF_VERS_BUGFIX_BITS) << PF_VERS_BUGFIX_SHIFT) |                \
             (((A_u_long)(stage) & PF_VERS_STAGE_BITS) << PF_VERS_STAGE_SHIFT) |                    \
             (((A_u_long)(build) & PF_VERS_BUILD_BITS) << PF_VERS_BUILD_SHIFT))

#define INT2FIX(i) ((PF_Fixed)(i) << 16)
#define FIX2INT(f) ((A_long)(f) >> 16)
