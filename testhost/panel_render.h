// The test host's panel command: the effect's own panel drawn as the host
// would ask for it, written as PNG files:
//   DIR/PREFIX_panel.png         the panel as it first appears
//   DIR/PREFIX_panel_about.png   with the mouse over the About button
//   DIR/PREFIX_panel_help.png    with the mouse over the help button
// Each hover is reached with a cursor event, which must ask for a redraw,
// followed by a draw event; a last cursor event away from the buttons must
// bring the first picture back.
#pragma once
#include <cstdio>
#include <string>

#include "testhost/host_context.h"

// Returns a HOST_EXIT_ code: OK; COMMAND when an event left a message, a
// hover did not ask for a redraw or did not come back, or the panel misused
// the suites; LEAK when suites or images are left over; USAGE when a file
// cannot be written.
int RenderPanelImages(PF_FilterProc entry, HostContext& ctx, PF_ParamDef* params[],
                      const std::string& dir, const std::string& prefix, const std::string& name,
                      FILE* err);
