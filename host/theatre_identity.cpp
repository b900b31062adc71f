// The Theatre deliverable's own file name (GlobalSetup cuts its length).
#include "host/host.h"

const char ShippedModuleFileName[] = "VelarraTheatre.AEX";
